#include "StopSignals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <iostream>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "companions/LinkInterrupt.h"

namespace zelhost {

std::atomic<int> StopSignals::first_{0};

namespace {

// Tells the signal thread to finish.
constexpr int kQuit = SIGUSR2;

sigset_t watched() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, kQuit}) sigaddset(&set, signal);
  return set;
}

}  // namespace

StopSignals::StopSignals() {
  ::signal(SIGPIPE, SIG_IGN);
  const sigset_t set = watched();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  watcher_ = std::thread([this] { watch(); });
}

StopSignals::~StopSignals() {
  pthread_kill(watcher_.native_handle(), kQuit);
  watcher_.join();
  const sigset_t set = watched();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void StopSignals::setUrgent(std::function<bool(int)> urgent) {
  urgent_ = std::move(urgent);
  urgentSet_ = true;
}

void StopSignals::watch() {
  const sigset_t set = watched();
  for (;;) {
    int signal = 0;
    if (sigwait(&set, &signal) != 0 || signal == kQuit) return;
    int none = 0;
    if (first_.compare_exchange_strong(none, signal)) {
      ExcelHost::stopRequested = true;
      // A connect, command or reply in flight is given up now, not when the instrument answers.
      kro::LinkInterrupt::instance().trigger();
      std::cerr << "zel: stopping: the instrument is let go and what was measured is saved; a second Ctrl-C "
                   "stops at once"
                << std::endl;
      continue;
    }
    if (urgentSet_ && !urgent_(first_)) continue;
    ::_exit(exitAfterSignal(first_));
  }
}

}  // namespace zelhost
