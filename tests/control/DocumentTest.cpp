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

#include "WorkbookSession.h"
#include "automation/Conversions.h"
#include "automation/SafeArray.h"
#include "companions/InstrumentState.h"
#include "companions/ItemStateInfo.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
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
  // The control's own "setups" button opens Capture/Restore Settings; the user acts in the panel
  // and closes the dialog.
  void inDialog(const std::function<void(kro::InstrumentState&, User&)>& script) {
    host.desk.onForm<FrmSetup>([=](FrmSetup& dialog, User& user) {
      script(*dialog.panel(), user);
      user.click(dialog.closeButton);
    });
    control->Toolbar1_ButtonClick(control->Toolbar1.Buttons().Item("setups"));
  }
  void capture(const std::string& name) {
    inDialog([&](kro::InstrumentState& panel, User& user) {
      user.type(panel.nameBox, name);
      user.click(panel.captureButton);
    });
  }
  void instrument(const std::string& commands) {
    analyzer.withAnalyzer([&](sim::Analyzer& a) { a.execute(commands); });
  }
  sim::Settings settings() {
    return analyzer.withAnalyzer([](sim::Analyzer& a) { return a.settings(); });
  }
};

TEST_F(Setups, StatesCapturedRestoredAndSavedWithTheWorkbookThatOpensAgainWithAndWithoutItsAnalyzer) {
  control->setConnectedApplication(host.excel);
  step("connected, a capture marks the document changed and lets go of the control with the dialog");
  connect();
  instrument(":FREQ:STAR 100 MHZ;:FREQ:STOP 200 MHZ;:POW:ATT 30;:SWE:POIN 501");
  const sim::Settings captured = settings();
  const int changesBefore = host.site->propertyChangedCount();
  capture("narrow");
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

  step("capturing under a name in another letter case replaces that state; Delete removes one");
  instrument(":POW:ATT 40");
  capture("b");
  instrument(":POW:ATT 50");
  capture("NARROW");
  ASSERT_EQ(control->setupInfo()->Count(), 2);
  instrument(":POW:ATT 10");
  inDialog([&](kro::InstrumentState& panel, User& user) {
    user.clickItem(panel.statesList, 1);
    user.click(panel.deleteButton);
    ASSERT_EQ(panel.statesList.ListCount(), 1);
    user.clickItem(panel.statesList, 0);
    user.click(panel.restoreButton);
  });
  EXPECT_EQ(settings().attenuationDb, 50) << "the state captured last under that name";

  step("saved after a Get Data, the connection, the states and the link follow the keys announcing them");
  host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
    user.type(f.startCell, "C4");
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
  EXPECT_EQ(bag.ReadProperty("DataCWritten"), Variant(int32_t{1}));
  EXPECT_EQ(bag.ReadProperty("instrSetupInfoWritten"), Variant(true));
  EXPECT_EQ(bag.ReadProperty("IOSettingWritten"), Variant(true));
  EXPECT_TRUE(host.desk.messages().empty());
  {
    step("opened, it is connected without any dialog and saves again what it read");
    Host reopened;
    reopened.startExcel();
    const auto reopenedBar = testing::addToolbar(*reopened.excel->commandBars(), 8);
    const auto book = reopened.placeInWorkbook();
    PropertyBag opened = bag;
    book->ReadProperties(opened);
    book->setConnectedApplication(reopened.excel);
    PropertyBag again;
    book->WriteProperties(again);
    EXPECT_EQ(again.toBytes(), bag.toBytes());
    EXPECT_EQ(testing::serverAddress(*book), address());
    EXPECT_EQ(book->Toolbar1.Buttons().Item("connect").Image(), 4);
    EXPECT_EQ(testing::tips(*reopenedBar)[testing::kConnectedTip],
              fmt::format("Connected to {} Spectrum Analyzer at {}", book->Model(), address()));
    EXPECT_TRUE(reopened.desk.formsShown().empty());
    EXPECT_TRUE(reopened.desk.messages().empty());
  }
  step("opened without its analyzer, it is not connected, silently, and keeps the rest");
  analyzer.stop();
  Host reopened;
  reopened.startExcel();
  const auto reopenedBar = testing::addToolbar(*reopened.excel->commandBars(), 8);
  testing::setFaces(*reopenedBar, testing::kConnectedFaces, "untouched");
  const auto book = reopened.placeInWorkbook();
  PropertyBag opened = bag;
  book->ReadProperties(opened);
  EXPECT_TRUE(std::dynamic_pointer_cast<ExcelDataConnection>(book->connection()));
  EXPECT_EQ(book->setupInfo()->Count(), 1);
  EXPECT_FALSE(book->getServer()->Device()->IoSession());
  EXPECT_EQ(automation::CStr(book->ioSettings()->HostName()), "My Computer");
  EXPECT_EQ(book->Toolbar1.Buttons().Item("connect").Image(), 2);
  EXPECT_EQ(testing::tips(*reopenedBar)[testing::kConnectedTip], "untouched");
  EXPECT_TRUE(reopened.desk.formsShown().empty());
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

// A header of four lines, then the block; padded so the file is well over 100 bytes.
std::string legacyFile(const std::string& lineEnd) {
  return "NORDAL SETUP FILE" + lineEnd + "v1" + lineEnd + "saved" + lineEnd + "MODEL ZEL-Q 3008" + lineEnd +
         "#210STATE:1234" + std::string(120, 'x');
}

TEST_F(Setups, ImportKeepsAnOlderAnalyzersSettingsFileUnderItsNameAndRefusesOtherFiles) {
  struct Row {
    std::string file, model, data;  // no model: refused
  };
  const std::vector<Row> rows{
      {legacyFile("\n"), "ZEL-Q 3008", "STATE:1234"},
      {legacyFile("\r\n"), "ZEL-Q 3008", "STATE:1234"},  // carriage returns are not part of the model
      {"a\nb\nc\nd e\n#15ABCDE" + std::string(83, 'y'), "e", "ABCDE"},  // exactly 100 bytes
      {legacyFile("\n").substr(0, 99), "", ""},
      {std::string(150, 'z'), "", ""},                                // no block
      {"a\nb\nc\nd e\n#x5ABCDE" + std::string(120, 'y'), "", ""},     // no digit count
      {"a\nb\nc\nd e\n#9999999999" + std::string(100, 'y'), "", ""},  // longer than the file
      // "#" at position 96 with five count digits: only "12" lies within the first 100 characters,
      // and the block starts after all five.
      {"a\nb\nc\nd MODEL\n" + std::string(82, 'p') + "#512345BLOCK-BYTES!" + std::string(20, 'z'), "MODEL",
       "BLOCK-BYTES!"},
  };
  const auto folder = std::filesystem::temp_directory_path() / fmt::format("zel-setups-{}", ::getpid());
  std::filesystem::create_directories(folder);
  win32::ScopedMachine machine;
  win32::machine().mapDrive('D', folder);
  std::vector<std::string> files, refused;
  for (size_t i = 0; i <= rows.size(); ++i) {
    files.push_back(fmt::format("D:\\setup{}.set", i));  // the last one is missing
    if (i < rows.size()) std::ofstream(folder / fmt::format("setup{}.set", i), std::ios::binary) << rows[i].file;
    if (i == rows.size() || rows[i].model.empty())
      refused.push_back(files.back() + " is not a settings file of the older analyzers");
  }
  inDialog([&](kro::InstrumentState& panel, User& user) {
    for (size_t i = 0; i < refused.size(); ++i) host.desk.onMessage("is not a settings file");
    for (const std::string& file : files) {
      user.type(panel.fileBox, file);
      user.click(panel.importButton);
    }
  });
  std::filesystem::remove_all(folder);

  std::vector<std::string> told;
  for (const auto& shown : host.desk.messages()) told.push_back(shown.text);
  EXPECT_EQ(told, refused);
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto state = control->setupInfo()->find(fmt::format("setup{}", i));
    ASSERT_EQ(bool(state), !rows[i].model.empty()) << "row " << i;
    if (!state) continue;
    const auto& data = state->data().asArray().bytes();
    EXPECT_EQ(state->model() + "|" + state->version() + "|" + std::string(data.begin(), data.end()),
              rows[i].model + "|*|" + rows[i].data)
        << "row " << i;
  }
}

// ---- documents written elsewhere -------------------------------------------------------------

TEST(Persistence, AnEmptyControlWritesOneKeyAndAnyConnectionKindButExcelReadsAsWord) {
  Host host;
  PropertyBag empty;
  host.createControl()->WriteProperties(empty);
  ASSERT_EQ(keys(empty), std::vector<std::string>{"DataCWritten"});
  EXPECT_EQ(empty.ReadProperty("DataCWritten"), Variant(int32_t{0}));
  host.startWord();
  for (const Variant& kind : {Variant(int32_t{2}), Variant(int32_t{7})}) {
    auto control = host.placeInDocument();
    PropertyBag bag;
    bag.WriteProperty("DataCWritten", kind);
    control->ReadProperties(bag);
    EXPECT_TRUE(std::dynamic_pointer_cast<WordDataConnection>(control->connection())) << automation::CStr(kind);
  }
}

// Two states and a computer as the document keeps them.
PropertyBag twoStates() {
  PropertyBag bag;
  bag.WriteProperty("instrSetupInfoWritten", Variant(true));
  bag.WriteProperty("InstrSetupsCount", Variant(int32_t{2}));
  for (int i = 1; i <= 2; ++i) {
    bag.WriteProperty(fmt::format("InstrSetupsName{}", i), Variant(fmt::format("state {}", i)));
    bag.WriteProperty(fmt::format("InstrSetupsModel{}", i), Variant("ZEL-R 3026"));
    bag.WriteProperty(fmt::format("InstrSetupsVersion{}", i), Variant("1.40"));
    bag.WriteProperty(fmt::format("InstrSetupsData{}", i), Variant(automation::SafeArray::ofBytes({1, 2, 3})));
  }
  bag.WriteProperty("IOSettingWritten", Variant(true));
  bag.WriteProperty("IOSettingsHostName", Variant("LAB-PC"));
  return bag;
}

TEST(Persistence, DamagedEntriesOpenTheDocumentWithoutThemNotConnectedAndSilently) {
  struct Row {
    const char* key;
    Variant value;
    int states;
    const char* hostName;  // "" when the settings are not reached
  };
  const std::vector<Row> rows{
      {"InstrSetupsName2", Variant("state 2"), 2, "LAB-PC"},  // as written
      {"InstrSetupsData2", Variant("not an image"), 0, ""},
      {"IOSettingsLinkAddress", Variant("NOT A LINK"), 2, "My Computer"},
  };
  Host host;
  host.startExcel();
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(fmt::format("row {}", i));
    PropertyBag bag = twoStates();
    bag.WriteProperty(rows[i].key, rows[i].value);
    auto control = host.placeInWorkbook();
    control->ReadProperties(bag);
    EXPECT_EQ(control->setupInfo()->Count(), rows[i].states);
    EXPECT_FALSE(control->getServer()->Device()->IoSession());
    if (*rows[i].hostName) {
      EXPECT_EQ(automation::CStr(control->ioSettings()->HostName()), rows[i].hostName);
    }
  }
  EXPECT_TRUE(host.desk.messages().empty());
}

}  // namespace
}  // namespace zel
