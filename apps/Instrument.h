#pragma once
// The analyzer a run talks to: the address named on the command line, or else the simulated
// analyzer started on a free loopback port for the run's lifetime.
#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "ExcelHost.h"
#include "simulator/AnalyzerServer.h"

namespace zelhost {

struct Instrument {
  explicit Instrument(const std::optional<std::string>& named, std::ostream& out = std::cout) {
    if (named) {
      address = *named;
      return;
    }
    simulator = std::make_unique<sim::AnalyzerServer>(sim::ServerOptions{.port = 0});
    simulator->start();
    address = fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", simulator->port());
    out << "Simulated analyzer at " << address << std::endl;
  }
  std::unique_ptr<sim::AnalyzerServer> simulator;
  std::string address;
};

// Makes sure the host talks to an analyzer. A named instrument is chosen in the Connect dialog
// even when a restored link is attached, as a person choosing another analyzer would; with
// none named, a restored link that answered is kept, and otherwise the simulated analyzer is
// started into `instrument`. False, with the reason on stderr, when no link could be attached.
bool reachAnalyzer(ExcelHost& host, const std::optional<std::string>& named, std::unique_ptr<Instrument>& instrument,
                   std::ostream& out);

}  // namespace zelhost
