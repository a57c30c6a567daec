#pragma once
// The analyzer on the wire: SCPI over TCP (a raw socket, line-feed terminated, as instruments
// serve on port 5025) and over an already-open stream such as a pseudo-terminal standing in for
// a serial link. Every connection talks to the same Analyzer. The server runs its own I/O thread;
// the methods here may be called from any other thread.
//
// Whatever clients send, the server's memory stays bounded: a message is at most 1 MiB of text
// plus one block of at most kMaxBlockBytes (16 MiB) per connection, larger ones are dropped with
// -223 "Too much data"; the command log keeps the last kLogCapacity messages, each cut to
// kLoggedBytes; a TCP connection that sends nothing for `idleTimeout` (10 minutes) is closed;
// and when the process runs out of file descriptors the server stops accepting for a moment
// instead of retrying at once.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "simulator/Analyzer.h"
#include "simulator/Faults.h"

namespace sim {

struct ServerOptions {
  std::string address = "127.0.0.1";
  uint16_t port = 5025;  // 0 = any free port
  uint32_t seed = 1;
  std::chrono::milliseconds idleTimeout = std::chrono::minutes(10);
};

class AnalyzerServer {
 public:
  static constexpr std::size_t kMaxBlockBytes = std::size_t{16} << 20;
  static constexpr std::size_t kLogCapacity = 1000;
  static constexpr std::size_t kLoggedBytes = 1024;

  explicit AnalyzerServer(ServerOptions options = {});
  ~AnalyzerServer();
  AnalyzerServer(const AnalyzerServer&) = delete;
  AnalyzerServer& operator=(const AnalyzerServer&) = delete;

  // Binds and listens; throws std::runtime_error when the address cannot be bound.
  void start();
  // Closes the listener and every connection; the analyzer keeps its state.
  void stop();
  uint16_t port() const;

  void setFaults(const Faults& faults);
  Faults faults() const;

  // Serves SCPI over `fd` (for instance a pty master) until the other side goes away or the
  // server stops. The server works on its own duplicate; the caller keeps and closes `fd`.
  void serveStream(int fd);

  // Runs f(analyzer) while no connection uses it: withAnalyzer([](Analyzer& a) { ... }).
  template <class F>
  auto withAnalyzer(F&& f) {
    std::lock_guard lock(analyzerMutex_);
    return f(analyzer_);
  }

  std::size_t sessionsOpened() const;
  std::size_t sessionsClosed() const;
  std::size_t openSessions() const;
  std::size_t connectionsRefused() const;
  // Accepts that failed (the process out of descriptors, say), each followed by a pause.
  std::size_t acceptFailures() const;
  bool waitForAcceptFailures(std::size_t count, std::chrono::milliseconds timeout) const;
  // Waits until at least `count` sessions have closed; false when `timeout` passed first. Lets
  // a test see that the server noticed a client's disconnect without sleeping.
  bool waitForSessionsClosed(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  // Waits until at least `count` messages have been logged since the last clearCommandLog.
  bool waitForCommands(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  // The program messages received on any connection, in order: the last kLogCapacity of them,
  // each cut to its first kLoggedBytes bytes.
  std::vector<std::string> commandLog() const;
  void clearCommandLog();

 private:
  struct Impl;
  template <class Stream>
  friend class Session;

  // What a session does with one received message: log it, run it, and say what to send back.
  std::vector<Reply> handleMessage(const std::string& text, bool overflow);
  void sessionOpened();
  void sessionClosed();

  ServerOptions options_;
  std::mutex analyzerMutex_;
  Analyzer analyzer_;
  mutable std::mutex stateMutex_;
  mutable std::condition_variable stateChanged_;
  Faults faults_;
  std::size_t opened_ = 0, closed_ = 0, refused_ = 0, acceptFailures_ = 0;
  std::deque<std::string> log_;
  std::size_t logged_ = 0;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
