#include "HostOptions.h"

#include <fmt/format.h>

#include <iostream>

#include "ExitStatus.h"
#include "automation/Clock.h"
#include "simulator/AnalyzerServer.h"

namespace zelhost {

void HostOptions::addTo(CLI::App& command) {
  command.add_option("--instrument", instrument,
                     "the analyzer's address, e.g. TCPIP0::192.168.1.20::5025::SOCKET\n"
                     "(default: the built-in simulated analyzer)");
  command.add_flag("--fake-clock", fakeClock)->group("");
}

void HostOptions::check() const {
  if (fakeClock && instrument)
    throw UsageError("--fake-clock is for the built-in simulated analyzer only, not with --instrument");
}

HostClock::HostClock(const HostOptions& options) {
  if (!options.fakeClock) return;
  fake_ = std::make_unique<automation::FakeClock>(automation::clock().now());
  scope_ = std::make_unique<automation::ScopedClock>(*fake_);
}

HostClock::~HostClock() = default;

Instrument::Instrument(const HostOptions& options) {
  if (options.instrument) {
    address_ = *options.instrument;
    return;
  }
  simulator_ = std::make_unique<sim::AnalyzerServer>(sim::ServerOptions{.port = 0});
  simulator_->start();
  address_ = fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", simulator_->port());
  std::cerr << "zel: no --instrument given: measuring the built-in simulated analyzer at " << address_ << std::endl;
}

Instrument::~Instrument() = default;

}  // namespace zelhost
