// What a workbook keeps of the control: the analyzer states captured with Capture/Restore
// Settings or imported from older analyzers' files, the connection and Get Data's choices, saved
// into the document's property bag and read back when it opens again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/WorkbookSession.h"
#include "automation/Conversions.h"
#include "companions/InstrumentState.h"
#include "companions/ItemState.h"
#include "companions/ItemStateInfo.h"
#include "control/FrmSetup.h"
#include "dialogs/frmDataTransfer.h"
#include "win32/Win32.h"

namespace zel {
namespace {

using automation::PropertyBag;
using automation::Variant;
using forms::User;
using testing::Host;

std::vector<std::string> keys(const PropertyBag& bag) {
  std::vector<std::string> names;
  for (const auto& entry : bag.entries()) names.push_back(entry.name);
  return names;
}

class Setups : public testing::WorkbookSession {
 protected:
  // Capture/Restore Settings, where the user acts in the setups panel.
  void inDialog(const std::function<void(kro::InstrumentState&, User&)>& script) {
    WorkbookSession::inDialog<FrmSetup>("setups", [=](FrmSetup& dialog, User& user) { script(*dialog.InstrumentState1.object<kro::InstrumentState>(), user); });
  }
  sim::Settings settings() {
    return analyzer.withAnalyzer([](sim::Analyzer& a) { return a.settings(); });
  }
  // A workbook opened again in a new Excel, from what the document kept.
  std::shared_ptr<ZELControl> reopen(Host& reopened, const PropertyBag& bag, const char* faces) {
    reopened.startExcel();
    reopenedBar = testing::addToolbar(*reopened.excel->commandBars(), 8);
    testing::setFaces(*reopenedBar, faces, "untouched");
    const auto book = reopened.placeInWorkbook();
    PropertyBag opened = bag;
    book->ReadProperties(opened);
    return book;
  }
  std::shared_ptr<office::MemoryCommandBar> reopenedBar;
};

TEST_F(Setups, StatesCapturedRestoredAndSavedWithTheWorkbookThatOpensAgainWithAndWithoutItsAnalyzer) {
  control->setConnectedApplication(host.excel);
  step("connected, a capture marks the document changed and lets go of the control with the dialog");
  connect();
  instrument(":FREQ:STAR 100 MHZ;:FREQ:STOP 200 MHZ;:POW:ATT 30;:SWE:POIN 501");
  const sim::Settings captured = settings();
  const int changesBefore = host.site->propertyChangedCount();
  inDialog([&](kro::InstrumentState& panel, User& user) {
    user.type(panel.nameBox, "narrow");
    user.click(panel.captureButton);
  });
  EXPECT_EQ(host.site->propertyChangedCount(), changesBefore + 2);
  EXPECT_FALSE(control->setupInfo()->SetupInterface());

  step("the next visit offers the state and restores it");
  instrument("*RST");
  ASSERT_NE(settings(), captured);
  inDialog([&](kro::InstrumentState& panel, User& user) {
    ASSERT_EQ(panel.statesList.ListCount(), 1);
    EXPECT_EQ(panel.statesList.List(0), "narrow");
    user.clickItem(panel.statesList, 0);
    user.click(panel.restoreButton);
  });
  EXPECT_EQ(settings(), captured);

  step("saved after a Get Data, the connection, the states and the link follow the keys announcing them");
  host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
    user.tick(f.makeExcelGraphCheckBox, false);
    user.click(f.getDataBtn);
  });
  bool more = false;
  Variant start;
  control->DoDataTransfer(more, start);
  PropertyBag written;
  control->WriteProperties(written);
  const PropertyBag bag = PropertyBag::fromBytes(written.toBytes());  // as the document keeps it
  std::vector<std::string> announced;
  for (const std::string& key : keys(bag))
    if (!key.starts_with("DataConnectionProp")) announced.push_back(key);
  EXPECT_EQ(announced, (std::vector<std::string>{"DataCWritten", "dataTransferSaved", "instrSetupInfoWritten",
                                                 "InstrSetupsCount", "InstrSetupsName1", "InstrSetupsModel1",
                                                 "InstrSetupsVersion1", "InstrSetupsData1", "IOSettingWritten",
                                                 "IOSettingsInstrumentClass", "IOSettingsHostName",
                                                 "IOSettingsLinkAddress"}));
  EXPECT_EQ(keys(bag)[2], "DataConnectionPropstartCell");
  EXPECT_EQ(bag.ReadProperty("DataCWritten"), Variant(int32_t{1})) << "Excel's connection";
  EXPECT_TRUE(host.desk.messages().empty());
  {
    step("opened, it is connected without any dialog and saves again what it read");
    Host reopened;
    const auto book = reopen(reopened, bag, testing::kInitialFaces);
    book->setConnectedApplication(reopened.excel);
    PropertyBag again;
    book->WriteProperties(again);
    EXPECT_EQ(again.toBytes(), bag.toBytes());
    EXPECT_EQ(testing::serverAddress(*book), address());
    EXPECT_EQ(testing::tips(*reopenedBar)[testing::kConnectedTip], connectedTip(*book));
    EXPECT_TRUE(reopened.desk.formsShown().empty());
    EXPECT_TRUE(reopened.desk.messages().empty());
  }
  step("opened without its analyzer, it is not connected, silently, and keeps the rest");
  analyzer.stop();
  {
    Host reopened;
    const auto book = reopen(reopened, bag, testing::kConnectedFaces);
    EXPECT_EQ(book->setupInfo()->Count(), 1);
    EXPECT_FALSE(book->getServer()->Device()->IoSession());
    EXPECT_EQ(book->Toolbar1.Buttons().Item("connect").Image(), 2);
    EXPECT_EQ(testing::tips(*reopenedBar)[testing::kConnectedTip], "untouched");
    EXPECT_TRUE(reopened.desk.formsShown().empty());
    EXPECT_TRUE(reopened.desk.messages().empty());
  }
  step("a link the document names but no component can open: not connected, on this computer");
  Host reopened;
  PropertyBag damaged = bag;
  damaged.WriteProperty("IOSettingsHostName", Variant("LAB-PC"));
  damaged.WriteProperty("IOSettingsLinkAddress", Variant("NOT A LINK"));
  const auto broken = reopen(reopened, damaged, testing::kInitialFaces);
  EXPECT_EQ(broken->setupInfo()->Count(), 1);
  EXPECT_FALSE(broken->getServer()->Device()->IoSession());
  EXPECT_EQ(automation::CStr(broken->ioSettings()->HostName()), "My Computer");
  EXPECT_TRUE(reopened.desk.messages().empty());
}

TEST_F(Setups, AMissingPanelIsReportedAsAFailedStateManagement) {
  ASSERT_TRUE(host.registry.unregisterClass(kro::InstrumentState::kProgId));
  host.desk.onMessage("Failed to do state management.");
  control->DoSetup();
  ASSERT_EQ(host.desk.messages().size(), 1u);
  testsupport::expectErrorWithReason(host.desk.messages()[0], "Failed to do state management.\r\nError Description: ");
  EXPECT_FALSE(control->setupInfo()->SetupInterface());
}

// The setups component imports an older analyzer's settings file through the control, which
// reads it into a state of the component's own class, or refuses it with nothing.
TEST(SetupInterface, AnOlderAnalyzersSettingsFileGivesItsModelAndBlockAndAnyOtherFileNothing) {
  // A header of four lines, the fourth naming the model after its first word, then the block.
  const std::string padded = "NORDAL SETUP FILE\nv1\nsaved\nMODEL ZEL-Q 3008\r\n#210STATE:1234" + std::string(120, 'x');
  struct Row {
    std::string file, model, data;  // no model: refused
  };
  const std::vector<Row> rows{
      {padded, "ZEL-Q 3008", "STATE:1234"},  // the carriage return is no part of the model
      {"a\nb\nc\nd e\n#15ABCDE" + std::string(83, 'y'), "e", "ABCDE"},  // exactly 100 bytes
      {padded.substr(0, 99), "", ""},
      {std::string(150, 'z'), "", ""},                                // no block
      {"a\nb\nc\nd e\n#x5ABCDE" + std::string(120, 'y'), "", ""},     // no digit count
      {"a\nb\nc\nd e\n#9999999999" + std::string(100, 'y'), "", ""},  // longer than the file
      // "#" at position 96 with five count digits: only "12" lies within the first 100 characters,
      // and the block starts after all five.
      {"a\nb\nc\nd MODEL\n" + std::string(82, 'p') + "#512345BLOCK-BYTES!" + std::string(20, 'z'), "MODEL",
       "BLOCK-BYTES!"},
      {"", "", ""},  // no file at all
  };
  const auto folder = std::filesystem::temp_directory_path() / fmt::format("zel-setups-{}", ::getpid());
  std::filesystem::create_directories(folder);
  win32::ScopedMachine machine;
  win32::machine().mapDrive('D', folder);
  Host host;
  const automation::ObjectPtr control = host.createControl();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].file.empty()) std::ofstream(folder / fmt::format("{}.set", i), std::ios::binary) << rows[i].file;
    const Variant read = automation::callMethod(control, "GetLegacyNordalFileInfo",
                                                {Variant(fmt::format("D:\\{}.set", i)), Variant(kro::ItemState::kProgId)});
    const auto state = read.isObject() ? read.objectAs<kro::ItemState>() : nullptr;
    ASSERT_EQ(bool(state), !rows[i].model.empty()) << "row " << i;
    if (!state) continue;
    const auto& data = state->data().asArray().bytes();
    EXPECT_EQ(state->model() + "|" + state->version() + "|" + std::string(data.begin(), data.end()),
              rows[i].model + "|*|" + rows[i].data)
        << "row " << i;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zel
