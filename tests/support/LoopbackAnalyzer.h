#pragma once
// The simulated analyzer on an ephemeral loopback port, and instrument servers attached to it
// over a socket link, as a user's Connect leaves them.
#include <fmt/format.h>

#include <string>

#include "companions/IoLinkFactory.h"
#include "companions/ZELEZ.h"
#include "simulator/AnalyzerServer.h"

namespace testsupport {

struct LoopbackAnalyzer {
  static constexpr int32_t kTimeoutMs = 2000;

  LoopbackAnalyzer() { analyzer.start(); }

  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }
  void attach(kro::ZELEZ& server) const {
    server.Device()->setIoTimeout(kTimeoutMs);
    server.Device()->setIoSession(kro::makeIoLink(address()));
  }
  // Sets the analyzer up as a user at its front panel would.
  void instrument(const std::string& commands) {
    analyzer.withAnalyzer([&](sim::Analyzer& a) { a.execute(commands); });
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
};

}  // namespace testsupport
