#pragma once
// How zel ends, for the scripts that run it.
#include <stdexcept>
#include <string>

namespace zelhost {

enum ExitStatus : int {
  kExitDone = 0,        // everything asked for was done and saved
  kExitIncomplete = 1,  // a failure ended the run; what was measured is saved
  kExitUsage = 2,       // the command line cannot be carried out as given; nothing was measured
};

// After a stop signal: the shell's convention, 128 + the signal (130 for Ctrl-C, 143 for SIGTERM).
inline int exitAfterSignal(int signal) { return 128 + signal; }

// A command line that cannot be carried out as given: a bad option value, an output that cannot
// be written, an entry a dialog refused. Found before anything is measured.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace zelhost
