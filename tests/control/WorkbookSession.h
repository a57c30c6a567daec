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
#include "connections/ExcelToolbar.h"
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

// The host's command bar before any connection, connected, and during a run of measurements;
// connected, the connect button stays enabled behind the connected face that replaces it.
inline constexpr const char* kInitialFaces = "EEhddddE";
inline constexpr const char* kConnectedFaces = "EhEEEdEE";
inline constexpr const char* kRunFaces = "dxdddEdd";
// The connected face's tooltip among the bar's tooltips.
inline constexpr size_t kConnectedTip = ExcelToolbar::kConnected - 1;

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

  // The control's own connect button opens the dialog; there the user types the address and the
  // computer into the discovery control, presses its Connect, may do more, and closes the dialog.
  void connect(const std::string& linkAddress, const std::string& hostName = "My Computer",
               const std::function<void(frmConnect1&, forms::User&)>& beforeClosing = {}) {
    host.desk.onForm<frmConnect1>([=](frmConnect1& dialog, forms::User& user) {
      user.type(dialog.discovery()->addressBox, linkAddress);
      user.type(dialog.discovery()->hostBox, hostName);
      user.click(dialog.discovery()->connectButton);
      if (beforeClosing) beforeClosing(dialog, user);
      user.click(dialog.closeButton);
    });
    control->Toolbar1_ButtonClick(control->Toolbar1.Buttons().Item("connect"));
  }
  void connect() { connect(address()); }
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
