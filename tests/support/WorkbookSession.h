#pragma once
// A workbook in Excel with the add-in's command bar and the control placed in it, and the
// simulated analyzer on an ephemeral loopback port for the user to connect to.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "companions/IoLink.h"
#include "companions/KroDiscoveryCtl.h"
#include "control/ZELControl.h"
#include "control/frmConnect1.h"
#include "forms/User.h"
#include "simulator/AnalyzerServer.h"
#include "support/HostFixture.h"
#include "support/MessageCheck.h"
#include "support/Step.h"
#include "support/ToolbarFixture.h"

namespace zel {

// Puts a connection of the test's own in the control.
class ZELControlTesting {
 public:
  static void setConnection(ZELControl& control, std::shared_ptr<DataConnection> connection) {
    control.dataC = std::move(connection);
  }
};

namespace testing {

// The address of the link a control's server is attached to.
inline std::string serverAddress(ZELControl& control) {
  auto link = std::dynamic_pointer_cast<kro::IoLink>(control.getServer()->Device()->IoSession());
  return link ? link->Address() : "(none)";
}

class WorkbookSession : public ::testing::Test {
 protected:
  WorkbookSession() {
    analyzer.start();
    host.startExcel();
    bar = addToolbar(*host.excel->commandBars(), 8);
    setFaces(*bar, kInitialFaces);
    control = host.placeInWorkbook();
  }
  void TearDown() override { host.desk.verify(); }

  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }
  // The bar's tooltip once `connected` is attached to the analyzer.
  std::string connectedTip(ZELControl& connected) {
    return fmt::format("Connected to {} Spectrum Analyzer at {}", connected.Model(), address());
  }

  // One of the control's own buttons opens its dialog; the user acts in it and closes it.
  template <class Dialog>
  void inDialog(const char* button, const std::function<void(Dialog&, forms::User&)>& script) {
    host.desk.onForm<Dialog>([=](Dialog& dialog, forms::User& user) {
      script(dialog, user);
      user.click(dialog.closeButton);
    });
    control->Toolbar1_ButtonClick(control->Toolbar1.Buttons().Item(button));
  }
  void inConnectDialog(const std::function<void(frmConnect1&, forms::User&)>& script) { inDialog("connect", script); }
  // There the user types the address and the computer into the discovery control and presses
  // its Connect.
  void connect(const std::string& linkAddress, const std::string& hostName = "My Computer",
               const std::function<void(frmConnect1&, forms::User&)>& beforeClosing = {}) {
    inConnectDialog([=](frmConnect1& dialog, forms::User& user) {
      auto discovery = dialog.IOSetting1.object<kro::KroDiscoveryCtl>();
      user.type(discovery->addressBox, linkAddress);
      user.type(discovery->hostBox, hostName);
      user.click(discovery->connectButton);
      if (beforeClosing) beforeClosing(dialog, user);
    });
  }
  void connect() { connect(address()); }
  // Sets the analyzer up as a user at its front panel would.
  void instrument(const std::string& commands) {
    analyzer.withAnalyzer([&](sim::Analyzer& a) { a.execute(commands); });
  }
  // Every session the control opened on the analyzer has been closed again, leaving the
  // analyzer to its front panel and to other programs.
  bool linksReleased() const { return analyzer.waitForSessionsClosed(analyzer.sessionsOpened()); }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  Host host;
  std::shared_ptr<office::MemoryCommandBar> bar;
  std::shared_ptr<ZELControl> control;
  testsupport::Step step;
};

}  // namespace testing
}  // namespace zel
