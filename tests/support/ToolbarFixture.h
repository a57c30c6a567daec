#pragma once
// The host's command bar "ORV/ZEL Spectrum Analyzer" as the add-in and the template build it,
// a compact way to read and set its buttons, and an instrument server attached to the
// simulated analyzer for the connected tooltip.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "companions/ZELEZ.h"
#include "automation/Variant.h"
#include "companions/IoLinkFactory.h"
#include "connections/ExcelToolbar.h"
#include "office/MemoryCommandBars.h"
#include "simulator/AnalyzerServer.h"
#include "transfer/InstrumentServer.h"

namespace zel::testing {

// Eight buttons in Excel, six in Word; each shows its caption until given a tooltip.
inline std::shared_ptr<office::MemoryCommandBar> addToolbar(office::MemoryCommandBars& bars, int buttons,
                                                            const std::string& name = "ORV/ZEL Spectrum Analyzer") {
  bars.Add(automation::Variant(name), automation::Variant(office::msoBarTop));
  auto bar = bars.bar(name);
  for (int i = 1; i <= buttons; ++i) bar->Controls()->Add()->setCaption(fmt::format("Button {}", i));
  return bar;
}

// Excel's bar before any connection, connected, and during a run of measurements; connected,
// the connect button stays enabled behind the connected face that replaces it.
inline constexpr const char* kInitialFaces = "EEhddddE";
inline constexpr const char* kConnectedFaces = "EhEEEdEE";
inline constexpr const char* kRunFaces = "dxdddEdd";
// The connected face's tooltip among the bar's tooltips.
inline constexpr size_t kConnectedTip = ExcelToolbar::kConnected - 1;

// One letter a button: E enabled, d disabled, h enabled but hidden, x disabled and hidden.
inline std::string faces(const office::MemoryCommandBar& bar) {
  std::string letters;
  for (const auto& button : bar.buttons())
    letters += button->Visible() ? (button->Enabled() ? 'E' : 'd') : (button->Enabled() ? 'h' : 'x');
  return letters;
}

inline void setFaces(office::MemoryCommandBar& bar, std::string_view letters, const std::string& tip = "stale") {
  ASSERT_EQ(letters.size(), bar.buttons().size());
  for (size_t i = 0; i < letters.size(); ++i) {
    bar.buttons()[i]->refuseNothing();
    bar.buttons()[i]->setEnabled(letters[i] == 'E' || letters[i] == 'h');
    bar.buttons()[i]->setVisible(letters[i] == 'E' || letters[i] == 'd');
    bar.buttons()[i]->setTooltipText(tip);
  }
}

inline std::vector<std::string> tips(const office::MemoryCommandBar& bar) {
  std::vector<std::string> texts;
  for (const auto& button : bar.buttons()) texts.push_back(button->TooltipText());
  return texts;
}

// The simulated analyzer on an ephemeral loopback port, reached by an instrument server over a
// socket link; it answers with a model of its own so that the tooltip shows what it said.
class AttachedAnalyzer {
 public:
  static constexpr const char* kModel = "ORV 3013";

  AttachedAnalyzer() {
    analyzer.withAnalyzer([](sim::Analyzer& a) { a.setIdentity(sim::Identity{.model = kModel}); });
    analyzer.start();
    link = kro::makeIoLink(address());
    server->Device()->setIoTimeout(2000);
    server->Device()->setIoSession(link);
  }

  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }

  // The analyzer goes away: the next query cannot reach it.
  void disappear() {
    analyzer.stop();
    link->ReleaseLink();
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  InstrumentServerPtr server = std::make_shared<kro::ZELEZ>();
  std::shared_ptr<kro::IoLink> link;
};

}  // namespace zel::testing
