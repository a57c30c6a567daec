#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "../companions/RawServer.h"
#include "companions/IoLink.h"
#include "companions/IoLinkFactory.h"
#include "companions/KroDiscoveryCtl.h"
#include "control/ZELControl.h"
#include "control/frmConnect1.h"
#include "forms/Constants.h"
#include "forms/User.h"
#include "simulator/AnalyzerServer.h"
#include "support/HostFixture.h"
#include "support/MessageCheck.h"

namespace zel {

// Reaches what the connection code keeps to itself.
class ZELControlTesting {
 public:
  static void setConnection(ZELControl& control, std::shared_ptr<DataConnection> connection) {
    control.dataC = std::move(connection);
  }
  static bool isTransferMode(const InstrumentServerPtr& server) { return ZELControl::isTransferMode(server); }
};

namespace {

using automation::ObjectPtr;
using forms::User;
using testing::Host;

// A connection that only notes what the control asks of it.
class RecordingConnection : public DataConnection {
 public:
  void UpdateConnectedIconAndTooltip(std::string& hostName) override {
    calls.push_back("UpdateConnectedIconAndTooltip(" + hostName + ")");
  }
  void EnableToolbarButtons() override { calls.push_back("EnableToolbarButtons"); }
  void SetBusyCursor(bool val) override { calls.push_back(val ? "SetBusyCursor(True)" : "SetBusyCursor(False)"); }
  void DoHelp(int32_t topHwnd, int16_t contextID) override {
    calls.push_back(fmt::format("DoHelp({}, {})", topHwnd, contextID));
  }
  void SetInitialToolbarState() override { calls.push_back("SetInitialToolbarState"); }

  std::vector<std::string> calls;
};

const std::vector<std::string> kBusyOnly{"SetBusyCursor(True)", "SetBusyCursor(False)"};

class Connect : public ::testing::Test {
 protected:
  Connect() {
    analyzer.start();
    host.startExcel();
    control = host.placeInWorkbook();
    ZELControlTesting::setConnection(*control, recorder);
  }

  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }
  ObjectPtr serverLink() { return control->getServer()->Device()->IoSession(); }
  std::string serverAddress() {
    auto link = std::dynamic_pointer_cast<kro::IoLink>(serverLink());
    return link ? link->Address() : "(none)";
  }

  // The user types the address and host into the discovery control, presses its Connect, then
  // closes the dialog.
  void choose(const std::string& linkAddress, const std::string& hostName = "My Computer",
              std::function<void(frmConnect1&)> beforeClose = {}) {
    host.desk.onForm<frmConnect1>([=](frmConnect1& dialog, User& user) {
      auto discovery = dialog.discovery();
      user.type(discovery->addressBox, linkAddress);
      user.type(discovery->hostBox, hostName);
      user.click(discovery->connectButton);
      if (beforeClose) beforeClose(dialog);
      user.click(dialog.closeButton);
    });
  }
  void closeWithoutChoosing() {
    host.desk.onForm<frmConnect1>([](frmConnect1& dialog, User& user) { user.click(dialog.closeButton); });
  }
  // Connects once and forgets what that took.
  void connected(const std::string& linkAddress) {
    choose(linkAddress);
    control->DoConnect();
    ASSERT_EQ(serverAddress(), linkAddress);
    recorder->calls.clear();
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  Host host;
  std::shared_ptr<ZELControl> control;
  std::shared_ptr<RecordingConnection> recorder = std::make_shared<RecordingConnection>();
};

TEST_F(Connect, AttachesTheChosenLinkShowsTheConnectedStateAndReleasesTheLink) {
  const int changesBefore = host.site->propertyChangedCount();
  host.desk.onForm<frmConnect1>([&](frmConnect1& dialog, User& user) {
    auto discovery = dialog.discovery();
    // The settings handed over were set up with the server's models.
    ASSERT_EQ(discovery->modelsList.ListCount(), 8);
    EXPECT_EQ(discovery->modelsList.List(0), "ORV 3013");
    EXPECT_EQ(dialog.server, control->getServer());
    EXPECT_EQ(dialog.topHwnd, host.excel->Hwnd());
    user.click(dialog.helpBtn);
    user.type(discovery->addressBox, address());
    user.click(discovery->connectButton);
    user.click(dialog.closeButton);
  });
  control->Toolbar1_ButtonClick(control->Toolbar1.Buttons().Item("connect"));

  EXPECT_EQ(serverAddress(), address());
  EXPECT_EQ(recorder->calls,
            (std::vector<std::string>{"SetBusyCursor(True)", "SetBusyCursor(False)",
                                      fmt::format("DoHelp({}, 4)", host.excel->Hwnd()), "EnableToolbarButtons",
                                      "UpdateConnectedIconAndTooltip(My Computer)"}));
  EXPECT_GT(host.site->propertyChangedCount(), changesBefore);
  EXPECT_TRUE(control->Toolbar1.Buttons().Item("setups").Enabled());
  EXPECT_EQ(control->Toolbar1.Buttons().Item("connect").Image(), 4);
  // The discovery control's probe and the attach each opened a session; both are closed now.
  EXPECT_TRUE(analyzer.waitForSessionsClosed(2));
  EXPECT_EQ(analyzer.openSessions(), 0u);
  EXPECT_TRUE(host.desk.messages().empty());
  // The host asks again, after another workbook had the command bar.
  recorder->calls.clear();
  control->UpdateConnectedStatus();
  EXPECT_EQ(recorder->calls, std::vector<std::string>{"UpdateConnectedIconAndTooltip(My Computer)"});
  host.desk.verify();
}

TEST_F(Connect, ReChoosingALinkCountsAsNewOnlyWhenAddressOrHostDiffers) {
  struct Case {
    const char* name;
    bool lowerCase;
    const char* hostName;
    bool reattached;
  };
  for (const Case& c : {Case{"same address in other letter case", true, "My Computer", false},
                        Case{"same address on another host", false, "LAB-PC", true}}) {
    SCOPED_TRACE(c.name);
    // Connected through "tcpip0::...::socket", then "TCPIP0::...::SOCKET" is chosen.
    std::string lower = address();
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    connected(c.lowerCase ? lower : address());
    const ObjectPtr before = serverLink();
    choose(address(), c.hostName);
    control->DoConnect();

    if (c.reattached) {
      EXPECT_NE(serverLink(), before);
      EXPECT_EQ(recorder->calls, (std::vector<std::string>{"SetBusyCursor(True)", "SetBusyCursor(False)",
                                                           "EnableToolbarButtons",
                                                           std::string("UpdateConnectedIconAndTooltip(") +
                                                               c.hostName + ")"}));
    } else {
      EXPECT_EQ(serverLink(), before) << "the open link is kept";
      EXPECT_EQ(recorder->calls, kBusyOnly) << "the toolbar is not touched";
      // The settings now refer to the server's link rather than the one just typed.
      host.desk.onForm<frmConnect1>([&](frmConnect1& dialog, User& user) {
        EXPECT_EQ(dialog.IOsetting()->IoLink(), before);
        user.click(dialog.closeButton);
      });
      control->DoConnect();
    }
    control->getServer()->Device()->setIoSession(nullptr);
  }
  host.desk.verify();
}

TEST_F(Connect, ClosingWithoutChoosingChangesNeitherLinkNorToolbar) {
  closeWithoutChoosing();
  control->DoConnect();
  EXPECT_EQ(serverLink(), nullptr);
  EXPECT_EQ(recorder->calls, kBusyOnly);
  EXPECT_EQ(control->Toolbar1.Buttons().Item("connect").Image(), 2);

  connected(address());
  const ObjectPtr before = serverLink();
  closeWithoutChoosing();
  control->DoConnect();
  EXPECT_EQ(serverLink(), before);
  EXPECT_EQ(recorder->calls, kBusyOnly);
  host.desk.verify();
}

TEST_F(Connect, WithoutAHostConnectionTheControlShowsTheHourglassAndHelpDoesNothing) {
  ZELControlTesting::setConnection(*control, nullptr);
  // The discovery control is created while the dialog is built, inside the busy indication.
  std::vector<int> pointers;
  auto* registration = host.registry.findClass(kro::KroDiscoveryCtl::kProgId);
  ASSERT_NE(registration, nullptr);
  automation::ClassRegistration probing = *registration;
  probing.factory = [&, factory = registration->factory] {
    pointers.push_back(control->MousePointer());
    return factory();
  };
  host.registry.registerClass(probing);

  host.desk.onForm<frmConnect1>([&](frmConnect1& dialog, User& user) {
    pointers.push_back(control->MousePointer());
    EXPECT_EQ(dialog.dataC, nullptr);
    EXPECT_EQ(dialog.topHwnd, 0);
    user.click(dialog.helpBtn);
    auto discovery = dialog.discovery();
    user.type(discovery->addressBox, address());
    user.click(discovery->connectButton);
    user.click(dialog.closeButton);
  });
  control->DoConnect();
  EXPECT_EQ(pointers, (std::vector<int>{forms::vbHourglass, forms::vbDefault}));
  EXPECT_EQ(control->MousePointer(), forms::vbDefault);
  EXPECT_EQ(serverAddress(), address());
  EXPECT_EQ(control->Toolbar1.Buttons().Item("connect").Image(), 4);
  EXPECT_TRUE(host.excel->helpCalls().empty());
  EXPECT_TRUE(host.desk.helpCalls().empty());
  host.desk.verify();
}

TEST_F(Connect, TheDiscoveryControlsDisconnectDetachesTheLinkAndResetsTheToolbar) {
  connected(address());
  host.desk.onForm<frmConnect1>([](frmConnect1& dialog, User& user) {
    user.click(dialog.discovery()->disconnectButton);
    user.click(dialog.closeButton);
  });
  control->DoConnect();
  EXPECT_EQ(serverLink(), nullptr);
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"SetBusyCursor(True)", "SetBusyCursor(False)",
                                                       "SetInitialToolbarState"}));
  // A later Connect finds no chosen link and leaves the analyzer alone.
  recorder->calls.clear();
  closeWithoutChoosing();
  control->DoConnect();
  EXPECT_EQ(serverLink(), nullptr);
  EXPECT_EQ(recorder->calls, kBusyOnly);
  host.desk.verify();
}

TEST_F(Connect, AFailingAttachIsReportedAndTheControlStaysUsable) {
  // The instrument answers the discovery control, then refuses the attach that follows.
  choose(address(), "My Computer",
         [&](frmConnect1&) { analyzer.setFaults(sim::Faults{.refuseConnections = true}); });
  host.desk.onMessage("Do Connect Failed");
  control->DoConnect();  // returns normally

  ASSERT_EQ(host.desk.messages().size(), 1u);
  const auto& box = host.desk.messages()[0];
  const std::string lead = "Do Connect Failed\r\nError Description:";
  ASSERT_GT(box.text.size(), lead.size());
  EXPECT_EQ(box.text.substr(0, lead.size()), lead);
  EXPECT_NE(box.text[lead.size()], ' ') << "the reason follows at once";
  testsupport::expectMessage(box, box.text, "", "ZELControlProj");  // OK only, no icon, no title
  EXPECT_EQ(serverLink(), nullptr);
  EXPECT_EQ(recorder->calls, kBusyOnly);

  // Once the analyzer accepts again, the link the settings kept is attached.
  analyzer.setFaults({});
  recorder->calls.clear();
  closeWithoutChoosing();
  control->DoConnect();
  EXPECT_EQ(serverAddress(), address());
  EXPECT_EQ(recorder->calls.back(), "UpdateConnectedIconAndTooltip(My Computer)");
  EXPECT_EQ(host.desk.messages().size(), 1u);
  host.desk.verify();
}

TEST(ConnectHelpers, TransferModesAreSweptAnalysisAndNoneInAnyCaseAndTheLinkIsReleased) {
  Host host;
  std::string mode;
  kro::test::RawServer instrument([&](kro::test::RawServer::Peer& peer, const std::string& line) {
    if (line == "*IDN?") peer.send("Corvane,ZEL-Q 3008,100234,2.10\n");
    if (line == ":CONF?") peer.send(mode + "\n");
  });
  auto server = host.createControl()->getServer();
  auto link = kro::makeIoLink(instrument.address());
  server->Device()->setIoSession(link);
  struct Case {
    const char* mode;
    bool transfer;
  };
  for (const Case& c : {Case{"SAN", true}, Case{"san", true}, Case{"NONE", true}, Case{"None", true},
                        Case{"CHP", false}, Case{"ACP", false}}) {
    mode = c.mode;
    EXPECT_EQ(ZELControlTesting::isTransferMode(server), c.transfer) << c.mode;
    EXPECT_FALSE(link->isOpen()) << c.mode;
  }
}

}  // namespace
}  // namespace zel
