#pragma once
// What every command that talks to an analyzer shares: the instrument's address (none: the
// built-in simulated analyzer on loopback) and the clock the run keeps.
//
// The hidden --fake-clock makes a timed series jump straight to each due time, so that tests
// of the program need not wait. It is refused together with --instrument: a real analyzer's
// sweeps take real time, and a run against one must keep the real clock.
#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>

namespace automation {
class FakeClock;
class ScopedClock;
}  // namespace automation
namespace sim {
class AnalyzerServer;
}

namespace zelhost {

struct HostOptions {
  std::optional<std::string> instrument;
  bool fakeClock = false;

  void addTo(CLI::App& command);
  // Raises UsageError for a combination the command line cannot carry out.
  void check() const;
};

// The clock a run keeps: the system's, or the test clock.
class HostClock {
 public:
  explicit HostClock(const HostOptions& options);
  ~HostClock();

 private:
  std::unique_ptr<automation::FakeClock> fake_;
  std::unique_ptr<automation::ScopedClock> scope_;
};

// The analyzer to talk to: the named one, or the built-in simulator started on a free loopback
// port, which is said on stderr so nobody mistakes its traces for a real measurement.
class Instrument {
 public:
  explicit Instrument(const HostOptions& options);
  ~Instrument();
  const std::string& address() const { return address_; }
  bool simulated() const { return simulator_ != nullptr; }

 private:
  std::unique_ptr<sim::AnalyzerServer> simulator_;
  std::string address_;
};

}  // namespace zelhost
