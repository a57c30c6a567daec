// The control in its hosts: which connection each host gets, connecting from the control's own bar
// against the simulated analyzer, and what each command does before the host is known.
#include "control/ZELControl.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "WorkbookSession.h"
#include "automation/Collection.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "forms/Constants.h"
#include "support/ErrorOf.h"
#include "win32/Win32.h"

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
  host.startWord("ZEL.DOT", /*withDocument=*/false);
  control->setConnectedApplication(host.word);
  EXPECT_EQ(control->connection(), nullptr) << "Word without a document is no host either";

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
  // Help shows the contents of the template's help file.
  wordControl->DoHelp();
  ASSERT_EQ(host.desk.helpCalls().size(), 1u);
  EXPECT_EQ(host.desk.helpCalls()[0].file, R"(C:\Program Files\ZEL\ZELwtool.HLP)");
  EXPECT_EQ(host.desk.helpCalls()[0].command, win32::HELP_CONTENTS);
  host.startWord();
  wordControl->setConnectedApplication(host.word);
  EXPECT_EQ(wordControl->connection(), wordConnection);
  EXPECT_EQ(wordControl->invoke("ConnectedApplication", DispatchKind::PropertyGet).asObject(), ObjectPtr(host.word));
  host.desk.verify();
}

class Connect : public testing::WorkbookSession {
 protected:
  Connect() { control->setConnectedApplication(host.excel); }
  ObjectPtr serverLink() { return control->getServer()->Device()->IoSession(); }
  std::string connectedTip() {
    return fmt::format("Connected to {} Spectrum Analyzer at {}", control->Model(), address());
  }
  void inDialog(const std::function<void(frmConnect1&, User&)>& script) {
    host.desk.onForm<frmConnect1>([=](frmConnect1& dialog, User& user) {
      script(dialog, user);
      user.click(dialog.closeButton);
    });
    control->DoConnect();
  }
};

TEST_F(Connect, AUserConnectsReconnectsAndDisconnects) {
  step("the first connection");
  const int changesBefore = host.site->propertyChangedCount();
  connect(address(), "My Computer", [&](frmConnect1& dialog, User& user) {
    ASSERT_EQ(dialog.discovery()->modelsList.ListCount(), 8);
    EXPECT_EQ(dialog.discovery()->modelsList.List(0), "ORV 3013");
    EXPECT_EQ(dialog.topHwnd, host.excel->Hwnd());
    user.click(dialog.helpBtn);
  });
  EXPECT_EQ(testing::serverAddress(*control), address());
  EXPECT_TRUE(linksReleased()) << "the discovery control's probe and the attach gave the analyzer back";
  EXPECT_EQ(faces(*bar), testing::kConnectedFaces);
  EXPECT_EQ(tips(*bar)[kConnectedTip], connectedTip());
  EXPECT_TRUE(control->Toolbar1.Buttons().Item("setups").Enabled());
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
  EXPECT_EQ(tips(*bar)[kConnectedTip], connectedTip());

  step("the same address on another computer is a new connection");
  const ObjectPtr first = serverLink();
  std::string lower = address();
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  connect(lower, "LAB-PC");
  const ObjectPtr second = serverLink();
  EXPECT_NE(second, first);
  EXPECT_EQ(tips(*bar)[kConnectedTip],
            fmt::format("Connected to {} Spectrum Analyzer at {} on LAB-PC", control->Model(), lower));

  step("the same address in other letter case on the same computer keeps the open link");
  testing::setFaces(*bar, testing::kConnectedFaces);
  connect(address(), "LAB-PC");
  EXPECT_EQ(serverLink(), second);
  EXPECT_EQ(tips(*bar)[kConnectedTip], "stale") << "the bar is not touched";
  // The settings refer to the server's link from now on.
  inDialog([&](frmConnect1& dialog, User&) { EXPECT_EQ(dialog.IOsetting()->IoLink(), second); });

  step("the discovery control's Disconnect");
  inDialog([](frmConnect1& dialog, User& user) { user.click(dialog.discovery()->disconnectButton); });
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
  inDialog([](frmConnect1&, User&) {});
  EXPECT_EQ(testing::serverAddress(*control), address());
  EXPECT_EQ(faces(*bar), testing::kConnectedFaces);
}

// Before the host hands over its application, with a server of the host's choosing.
TEST_F(Connect, WithoutAHostConnectionEachCommandSaysSoOrDoesNothing) {
  ZELControlTesting::setConnection(*control, nullptr);
  testing::AttachedAnalyzer instrument;
  control->invoke("ZelServer", DispatchKind::PropertyPut, {Variant(instrument.server)});
  EXPECT_EQ(errorOf([&] { control->setZelServer(std::make_shared<automation::Collection>()); }),
            automation::vbErrTypeMismatch);

  bool more = false;
  Variant start;
  struct Case {
    const char* command;
    std::function<void()> call;
    std::string message;  // "" when it does nothing
  };
  const std::vector<Case> cases{
      {"DoSaveScreenImage", [&] { control->DoSaveScreenImage(); },
       "Failed to transfer image to application.\r\nError Description: Application Object Not Set"},
      {"DoDataTransfer", [&] { control->DoDataTransfer(more, start); },
       "Data Transfer Failure\r\nError Description: Application Object Not Set"},
      {"StartTransfer", [&] { control->StartTransfer(more, start); },
       "Failed to transfer data to Excel Spreadsheet\r\nError: " +
           automation::Error::vb(automation::vbErrObjectNotSet).description()},
      {"DoHelp", [&] { control->DoHelp(); }, ""},
      {"UpdateConnectedStatus", [&] { control->UpdateConnectedStatus(); }, ""},
  };
  for (const Case& c : cases) {
    step(c.command);
    const size_t shown = host.desk.messages().size();
    if (!c.message.empty()) host.desk.onMessage(c.message.substr(0, 20));
    c.call();
    ASSERT_EQ(host.desk.messages().size(), shown + (c.message.empty() ? 0 : 1));
    if (!c.message.empty()) testsupport::expectError(host.desk.messages().back(), c.message);
  }
  EXPECT_EQ(errorOf([&] { control->StopTransfer(start, false); }), automation::vbErrObjectNotSet);
  EXPECT_EQ(faces(*bar), testing::kInitialFaces);

  step("Connect, with the control's own pointer for the busy indication and no help");
  connect(address(), "My Computer", [](frmConnect1& dialog, User& user) {
    EXPECT_EQ(dialog.topHwnd, 0);
    user.click(dialog.helpBtn);
  });
  EXPECT_EQ(control->MousePointer(), forms::vbDefault);
  EXPECT_EQ(control->Toolbar1.Buttons().Item("connect").Image(), 4);
  EXPECT_TRUE(control->Toolbar1.Buttons().Item("setups").Enabled());
  EXPECT_TRUE(host.excel->helpCalls().empty());
  EXPECT_TRUE(host.desk.helpCalls().empty());
}

}  // namespace
}  // namespace zel
