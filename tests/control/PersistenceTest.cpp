// The control saved into its document's property bag and restored from it: which keys in which
// order, what comes back, and a document that opens not connected when restoring fails.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "WorkbookSession.h"
#include "automation/Conversions.h"
#include "automation/SafeArray.h"
#include "companions/InstrumentState.h"
#include "companions/IoLinkFactory.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "control/FrmSetup.h"
#include "dialogs/frmDataTransfer.h"

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

// Another workbook with the add-in's bar and the control placed in it, as Excel opens it.
struct Workbook {
  explicit Workbook(Host& host) {
    host.startExcel();
    bar = testing::addToolbar(*host.excel->commandBars(), 8);
    control = host.placeInWorkbook();
  }
  std::shared_ptr<office::MemoryCommandBar> bar;
  std::shared_ptr<ZELControl> control;
};

class Persistence : public testing::WorkbookSession {
 protected:
  // What a workbook saves after a connection, a Get Data with options of its own and a capture.
  PropertyBag savedWorkbook() {
    control->setConnectedApplication(host.excel);
    connect();
    host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
      user.type(f.startCell, "C4");
      user.select(f.annotationsList, {0, 2});
      user.tick(f.makeExcelGraphCheckBox, false);
      user.tick(f.incEngUnits, false);
      user.click(f.getDataBtn);
    });
    bool more = false;
    Variant start;
    control->DoDataTransfer(more, start);
    host.desk.onForm<FrmSetup>([](FrmSetup& dialog, User& user) {
      user.type(dialog.panel()->nameBox, "wide");
      user.click(dialog.panel()->captureButton);
      user.click(dialog.closeButton);
    });
    control->DoSetup();
    PropertyBag bag;
    control->WriteProperties(bag);
    // Through the stored form, as the document keeps it.
    return PropertyBag::fromBytes(bag.toBytes());
  }
};

TEST_F(Persistence, AWorkbookSavedAndOpenedAgainWithAndWithoutItsAnalyzer) {
  const PropertyBag bag = savedWorkbook();
  step("the connection, the states and the link, each after the key that announces them");
  std::vector<std::string> written;
  for (const std::string& key : keys(bag))
    if (!key.starts_with("DataConnectionProp")) written.push_back(key);
  EXPECT_EQ(written, (std::vector<std::string>{"DataCWritten", "dataTransferSaved", "instrSetupInfoWritten",
                                               "InstrSetupsCount", "InstrSetupsName1", "InstrSetupsModel1",
                                               "InstrSetupsVersion1", "InstrSetupsData1", "IOSettingWritten",
                                               "IOSettingsInstrumentClass", "IOSettingsHostName",
                                               "IOSettingsLinkAddress"}));
  EXPECT_EQ(keys(bag)[2], "DataConnectionPropstartCell");
  EXPECT_EQ(bag.ReadProperty("DataCWritten"), Variant(int32_t{1}));
  EXPECT_EQ(bag.ReadProperty("instrSetupInfoWritten"), Variant(true));
  EXPECT_EQ(bag.ReadProperty("IOSettingWritten"), Variant(true));
  {
    step("opened, it is connected without any dialog and saves again what it read");
    Host reopened;
    Workbook book(reopened);
    PropertyBag opened = bag;
    book.control->ReadProperties(opened);
    book.control->setConnectedApplication(reopened.excel);
    PropertyBag again;
    book.control->WriteProperties(again);
    EXPECT_EQ(keys(again), keys(bag));
    EXPECT_EQ(again.toBytes(), bag.toBytes());
    EXPECT_EQ(testing::serverAddress(*book.control), address());
    EXPECT_EQ(book.control->Toolbar1.Buttons().Item("connect").Image(), 4);
    EXPECT_EQ(testing::tips(*book.bar)[testing::kConnectedTip],
              fmt::format("Connected to {} Spectrum Analyzer at {}", book.control->Model(), address()));
    EXPECT_TRUE(reopened.desk.formsShown().empty());
    EXPECT_TRUE(reopened.desk.messages().empty());
  }
  {
    step("opened without its analyzer, it is not connected, silently, and keeps the rest");
    analyzer.stop();
    Host reopened;
    Workbook book(reopened);
    testing::setFaces(*book.bar, testing::kConnectedFaces, "untouched");
    PropertyBag opened = bag;
    book.control->ReadProperties(opened);
    EXPECT_TRUE(std::dynamic_pointer_cast<ExcelDataConnection>(book.control->connection()));
    EXPECT_EQ(book.control->setupInfo()->Count(), 1);
    EXPECT_FALSE(book.control->getServer()->Device()->IoSession());
    EXPECT_EQ(automation::CStr(book.control->ioSettings()->HostName()), "My Computer");
    EXPECT_EQ(book.control->Toolbar1.Buttons().Item("connect").Image(), 2);
    EXPECT_EQ(testing::tips(*book.bar)[testing::kConnectedTip], "untouched");
    EXPECT_TRUE(reopened.desk.formsShown().empty());
    EXPECT_TRUE(reopened.desk.messages().empty());
  }
}

TEST_F(Persistence, AnEmptyControlWritesOneKeyAndAnyConnectionKindButExcelReadsAsWord) {
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

// Two states as the document keeps them.
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
  return bag;
}

TEST_F(Persistence, DamagedEntriesOpenTheDocumentWithoutThemNotConnectedAndSilently) {
  struct Row {
    const char* key;
    Variant value;
    int states;
    const char* hostName;  // "" when the settings are not reached
  };
  const std::vector<Row> rows{
      {"InstrSetupsName2", Variant("state 2"), 2, "LAB-PC"},  // as written
      {"InstrSetupsCount", Variant(int32_t{2'000'000'000}), 0, ""},
      {"InstrSetupsCount", Variant(int32_t{-1}), 0, ""},
      {"InstrSetupsCount", Variant("2"), 0, ""},
      {"InstrSetupsData2", Variant("not an image"), 0, ""},
      {"InstrSetupsData1", Variant(automation::SafeArray(automation::vbLong, {{0, 2}})), 0, ""},
      {"InstrSetupsName1", Variant(3.5), 0, ""},
      {"InstrSetupsName2", Variant("STATE 1"), 0, ""},  // names differ in letter case only
      {"IOSettingsLinkAddress", Variant("NOT A LINK"), 2, "My Computer"},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    step(fmt::format("row {}", i));
    PropertyBag bag = twoStates();
    bag.WriteProperty("IOSettingWritten", Variant(true));
    bag.WriteProperty("IOSettingsHostName", Variant("LAB-PC"));
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

TEST_F(Persistence, AConnectionRestoredOutsideAnyWorkbookReportsTheMissingObjectInsteadOfFailingHard) {
  auto control = host.createControl();  // not placed: nothing holds it
  control->getServer()->Device()->setIoTimeout(2000);
  control->getServer()->Device()->setIoSession(kro::makeIoLink(address()));
  PropertyBag bag;
  bag.WriteProperty("DataCWritten", Variant(int32_t{1}));
  control->ReadProperties(bag);
  bool more = true;
  Variant start;
  host.desk.onMessage("Data Transfer Failure");
  control->DoDataTransfer(more, start);
  ASSERT_EQ(host.desk.messages().size(), 1u);
  testsupport::expectError(host.desk.messages()[0],
                           "Data Transfer Failure\r\nError Description: Object variable or With block variable not set");
  EXPECT_NO_THROW(control->UpdateConnectedStatus());
}

}  // namespace
}  // namespace zel
