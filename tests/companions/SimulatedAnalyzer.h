#pragma once
// A test fixture: the simulated analyzer on an ephemeral loopback port and an instrument server
// attached to it over a TCP socket link.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "automation/Error.h"
#include "companions/ErrorCodes.h"
#include "companions/IoLinkFactory.h"
#include "companions/ZELEZ.h"
#include "simulator/AnalyzerServer.h"

namespace kro::test {

class SimulatedAnalyzer : public testing::Test {
 protected:
  static constexpr int32_t kTimeoutMs = 2000;

  SimulatedAnalyzer() {
    server.start();
    link = makeIoLink(address());
    zel->Device()->setIoTimeout(kTimeoutMs);
    zel->Device()->setIoSession(link);
  }

  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", server.port()); }

  // Sets the analyzer up directly, as a user at its front panel would.
  void instrument(const std::string& commands) {
    server.withAnalyzer([&](sim::Analyzer& a) {
      a.execute(commands);
      ASSERT_EQ(a.pendingErrors(), 0u) << commands << ": " << a.execute(":SYST:ERR?");
    });
  }
  sim::Settings settings() {
    return server.withAnalyzer([](sim::Analyzer& a) { return a.settings(); });
  }
  // The trace as the analyzer holds it after a read, in dBm.
  std::vector<float> heldTrace(int trace) {
    return server.withAnalyzer([&](sim::Analyzer& a) { return a.traceDbm(trace); });
  }

  sim::AnalyzerServer server{sim::ServerOptions{.port = 0}};
  std::shared_ptr<ZELEZ> zel = std::make_shared<ZELEZ>();
  std::shared_ptr<IoLink> link;
};

inline int32_t errorNumber(ErrorCode code) { return automation::vbObjectError + static_cast<int32_t>(code); }

// Runs `action`, expecting it to raise `code`; returns the description.
template <class F>
std::string expectError(ErrorCode code, F&& action) {
  try {
    action();
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), errorNumber(code)) << e.description();
    return e.description();
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

}  // namespace kro::test
