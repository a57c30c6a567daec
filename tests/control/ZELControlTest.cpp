// The control in its hosts: which connection each host gets, connecting from the control's own bar
// against the simulated analyzer, and what each command does before the host is known.
#include "control/ZELControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/WorkbookSession.h"
#include "automation/Collection.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "support/ErrorOf.h"

namespace zel {
namespace {

using automation::DispatchKind;
using automation::ObjectPtr;
using automation::Variant;
using forms::User;
using testing::faces;
using testing::kConnectedTip;
using testing::tips;
using testsupport::errorOf;

TEST(ZELControl, EachHostGetsItsOwnConnectionKindAndASecondPutBindsItAgain) {
  testing::Host host;
  auto control = host.createControl();
  control->setConnectedApplication(std::make_shared<automation::Collection>());
  EXPECT_EQ(control->connection(), nullptr) << "neither Excel nor Word";

  host.startExcel();
  control = host.placeInWorkbook();
  control->invoke("ConnectedApplication", DispatchKind::PropertyPut, {Variant(host.excel)});
  const auto excelConnection = control->connection();
  ASSERT_TRUE(std::dynamic_pointer_cast<ExcelDataConnection>(excelConnection));
  host.startWord();
  control->setConnectedApplication(host.word);
  EXPECT_EQ(control->connection(), excelConnection) << "the kind never switches";

  auto wordControl = host.placeInDocument();
  wordControl->setConnectedApplication(host.word);
  const auto wordConnection = wordControl->connection();
  ASSERT_TRUE(std::dynamic_pointer_cast<WordDataConnection>(wordConnection));
  host.startWord();
  wordControl->setConnectedApplication(host.word);
  EXPECT_EQ(wordControl->connection(), wordConnection);
  EXPECT_EQ(wordControl->invoke("ConnectedApplication", DispatchKind::PropertyGet).asObject(), ObjectPtr(host.word));
}

class Connect : public testing::WorkbookSession {
 protected:
  Connect() { control->setConnectedApplication(host.excel); }
  ObjectPtr serverLink() { return control->getServer()->Device()->IoSession(); }
};

TEST_F(Connect, AUserConnectsReconnectsAndDisconnects) {
  step("the first connection");
  const int changesBefore = host.site->propertyChangedCount();
  connect(address(), "My Computer", [&](frmConnect1& dialog, User& user) {
    EXPECT_EQ(dialog.IOSetting1.object<kro::KroDiscoveryCtl>()->modelsList.List(0), "ORV 3013");
    user.click(dialog.helpBtn);
  });
  EXPECT_EQ(testing::serverAddress(*control), address());
  EXPECT_TRUE(linksReleased()) << "the discovery control's probe and the attach gave the analyzer back";
  EXPECT_EQ(faces(*bar), testing::kConnectedFaces);
  EXPECT_EQ(tips(*bar)[kConnectedTip], connectedTip(*control));
  EXPECT_EQ(control->Toolbar1.Buttons().Item("connect").Image(), 4);
  EXPECT_GT(host.site->propertyChangedCount(), changesBefore);

  step("help: the connect topic from the dialog, then the contents of the add-in's help file");
  control->invoke("DoHelp", DispatchKind::Method);
  ASSERT_EQ(host.excel->helpCalls().size(), 2u);
  EXPECT_EQ(automation::CLng(host.excel->helpCalls()[0].contextId), 4);
  EXPECT_EQ(host.excel->helpCalls()[1].helpFile, Variant(R"(C:\Program Files\ZEL\ZELxltool.hlp)"));
  EXPECT_EQ(automation::CLng(host.excel->helpCalls()[1].contextId), 0);

  step("the host asks again after another workbook had the bar");
  testing::setFaces(*bar, testing::kInitialFaces);
  control->UpdateConnectedStatus();
  EXPECT_EQ(tips(*bar)[kConnectedTip], connectedTip(*control));

  step("the same address on another computer is a new connection");
  const ObjectPtr first = serverLink();
  connect(fmt::format("tcpip0::127.0.0.1::{}::socket", analyzer.port()), "LAB-PC");
  const ObjectPtr second = serverLink();
  EXPECT_NE(second, first);

  step("the same address in other letter case on the same computer keeps the open link");
  testing::setFaces(*bar, testing::kConnectedFaces);
  connect(address(), "LAB-PC");
  EXPECT_EQ(serverLink(), second);
  EXPECT_EQ(tips(*bar)[kConnectedTip], "stale") << "the bar is not touched";

  step("the discovery control's Disconnect");
  inConnectDialog([](frmConnect1& dialog, User& user) { user.click(dialog.IOSetting1.object<kro::KroDiscoveryCtl>()->disconnectButton); });
  EXPECT_EQ(serverLink(), nullptr);
  EXPECT_EQ(faces(*bar), testing::kInitialFaces);
  EXPECT_TRUE(host.desk.messages().empty());

  step("a failing attach is reported and the kept link is attached once the analyzer accepts again");
  // The analyzer answers the discovery control, then refuses the attach that follows.
  connect(address(), "My Computer", [&](frmConnect1&, User&) {
    analyzer.setFaults(sim::Faults{.refuseConnections = true});
    host.desk.onMessage("Do Connect Failed");
  });
  ASSERT_EQ(host.desk.messages().size(), 1u);
  const std::string lead = "Do Connect Failed\r\nError Description:";
  testsupport::expectErrorWithReason(host.desk.messages()[0], lead, "", "ZELControlProj");  // no icon, no title
  EXPECT_NE(host.desk.messages()[0].text[lead.size()], ' ') << "the reason follows at once";
  EXPECT_EQ(serverLink(), nullptr);
  EXPECT_EQ(faces(*bar), testing::kInitialFaces);
  analyzer.setFaults({});
  inConnectDialog([](frmConnect1&, User&) {});
  EXPECT_EQ(testing::serverAddress(*control), address());
  EXPECT_EQ(faces(*bar), testing::kConnectedFaces);
}

// Before the host hands over its application, with a server of the host's choosing.
TEST_F(Connect, WithoutAHostConnectionEachCommandSaysSoOrDoesNothing) {
  ZELControlTesting::setConnection(*control, nullptr);
  testing::AttachedAnalyzer instrument;
  control->invoke("ZelServer", DispatchKind::PropertyPut, {Variant(instrument.server)});

  bool more = false;
  Variant start;
  const std::vector<std::pair<std::function<void()>, std::string>> cases{
      {[&] { control->DoSaveScreenImage(); },
       "Failed to transfer image to application.\r\nError Description: Application Object Not Set"},
      {[&] { control->DoDataTransfer(more, start); },
       "Data Transfer Failure\r\nError Description: Application Object Not Set"},
      {[&] { control->StartTransfer(more, start); },
       "Failed to transfer data to Excel Spreadsheet\r\nError: " +
           automation::Error::vb(automation::vbErrObjectNotSet).description()},
      {[&] { control->DoHelp(); }, ""},  // "" when it does nothing
      {[&] { control->UpdateConnectedStatus(); }, ""},
  };
  for (const auto& [call, message] : cases) {
    if (!message.empty()) host.desk.onMessage(message.substr(0, 20));
    call();
  }
  ASSERT_EQ(host.desk.messages().size(), 3u);
  for (size_t i = 0; i < 3; ++i) testsupport::expectError(host.desk.messages()[i], cases[i].second);
  EXPECT_EQ(errorOf([&] { control->StopTransfer(start, false); }), automation::vbErrObjectNotSet);
  EXPECT_EQ(faces(*bar), testing::kInitialFaces);

  step("Connect, with no help in the dialog");
  connect(address(), "My Computer", [](frmConnect1& dialog, User& user) { user.click(dialog.helpBtn); });
  EXPECT_EQ(control->Toolbar1.Buttons().Item("connect").Image(), 4);
  EXPECT_TRUE(host.excel->helpCalls().empty());
  EXPECT_TRUE(host.desk.helpCalls().empty());
}

}  // namespace
}  // namespace zel
