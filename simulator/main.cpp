// zel-sim: the analyzer simulator as a program. Serves SCPI on a TCP port (5025 by default,
// --port 0 for any free one, printed at start) and, with --pty, on a pseudo-terminal that a
// client opens as its serial port. Runs until interrupted.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "simulator/AnalyzerServer.h"

int main(int argc, char** argv) {
  CLI::App app{"SCPI spectrum analyzer simulator"};
  sim::ServerOptions options;
  int delayMs = 0;
  bool stall = false, malformed = false, refuse = false, pty = false, nonFinite = false;
  std::optional<std::size_t> closeAfter;
  app.add_option("--address", options.address, "address to listen on")->capture_default_str();
  app.add_option("--port", options.port, "TCP port, 0 for any free port")->capture_default_str();
  app.add_option("--seed", options.seed, "seed of the simulated noise")->capture_default_str();
  app.add_option("--delay-ms", delayMs, "delay every reply by this many milliseconds");
  app.add_flag("--stall", stall, "execute commands but never answer queries");
  app.add_option("--close-after-bytes", closeAfter, "close a connection after this many bytes of a reply");
  app.add_flag("--malformed", malformed, "answer queries with garbage");
  app.add_flag("--refuse", refuse, "close every new connection at once");
  app.add_flag("--non-finite", nonFinite, "traces start with NaN, +Inf and -Inf");
  app.add_flag("--pty", pty, "also serve on a pseudo-terminal (a serial link)");
  CLI11_PARSE(app, argc, argv);

  // Block the stop signals before the server's thread starts, so that only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  sim::AnalyzerServer server(options);
  sim::Faults faults;
  faults.replyDelay = std::chrono::milliseconds(delayMs);
  faults.stall = stall;
  faults.closeAfterBytes = closeAfter;
  faults.malformedReply = malformed;
  faults.refuseConnections = refuse;
  faults.nonFiniteTrace = nonFinite;
  server.setFaults(faults);
  try {
    server.start();
  } catch (const std::exception& e) {
    std::cerr << "zel-sim: " << e.what() << "\n";
    return 1;
  }
  std::cout << "zel-sim listening on " << options.address << ":" << server.port() << std::endl;

  int master = -1, slave = -1;
  if (pty) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
      std::cerr << "zel-sim: cannot open a pseudo-terminal\n";
      return 1;
    }
    const char* name = ptsname(master);
    // Keep the slave open in raw mode: no echo, no line editing, and the link survives a client
    // closing and reopening it.
    slave = open(name, O_RDWR | O_NOCTTY);
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    server.serveStream(master);
    std::cout << "zel-sim serial link on " << name << std::endl;
  }

  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.stop();
  if (slave >= 0) close(slave);
  if (master >= 0) close(master);
  return 0;
}
