// The host playing Word: the template's bar as the system leaves it before and after connecting,
// and the template never left asking to be saved.
#include <gtest/gtest.h>

#include <sstream>

#include "ExcelHost.h"
#include "WordHost.h"
#include "office/word/MemoryAddIns.h"
#include "office/word/MemoryApplication.h"
#include "support/ToolbarFixture.h"

TEST(WordHost, TheTemplatesBarStartsNotConnectedAndIsEnabledForTheConnectedAnalyzer) {
  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  analyzer.withAnalyzer([](sim::Analyzer& a) { a.setIdentity(sim::Identity{.model = "ORV 3013"}); });
  analyzer.start();
  std::ostringstream out;
  zelhost::WordHost host(out);
  const auto bar = host.word().commandBars()->bar(zelhost::kToolbarName);
  const auto zelDot = host.word().templates()->find("ZEL.DOT");
  EXPECT_EQ(zel::testing::faces(*bar), "EEhddE");
  EXPECT_EQ(zel::testing::tips(*bar)[4], "Get Screen Image");
  EXPECT_TRUE(zelDot->Saved());

  const std::string address = fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port());
  ASSERT_TRUE(host.connect(address)) << out.str();
  EXPECT_EQ(zel::testing::faces(*bar), "EhEEEE");
  EXPECT_EQ(bar->button(3)->TooltipText(), "Connected to ORV 3013 Spectrum Analyzer at " + address);
  EXPECT_TRUE(zelDot->Saved());
}
