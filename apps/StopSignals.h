#pragma once
// How a run is ended from outside: Ctrl-C (SIGINT), SIGTERM and SIGHUP (a closed terminal) stop
// the run as the Stop Repeated Measurement button does, and abandon the instrument I/O in flight
// (connect, command or reply) at once, so the run ends with what was measured before. A second
// one, for whatever else still holds the run, does not wait: the `urgent` action saves what is
// already on disk and ends the program. SIGPIPE is ignored, so a reader that goes
// away (zel ... | head -1) costs only the lines it would have read.
//
// The signals are taken by a thread of their own (sigwait), so the actions run as ordinary code,
// not in a signal handler. Make the StopSignals before any other thread starts: threads inherit
// the blocked signals from the one that creates them.
#include <atomic>
#include <functional>
#include <thread>

namespace zelhost {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The first stop signal received, 0 while none came.
  static int received() { return first_; }
  // Runs on the signal thread after a second stop signal, with the first one. When it returns
  // true, or there is none, the program ends at once with 128 + that signal; false ignores the
  // signal (the program is about to end by itself).
  void setUrgent(std::function<bool(int)> urgent);

 private:
  void watch();

  static std::atomic<int> first_;
  std::function<bool(int)> urgent_;
  std::atomic<bool> urgentSet_{false};
  std::thread watcher_;
};

}  // namespace zelhost
