// The control saved into its document's property bag and restored from it: which keys in which
// order, what comes back, and a document that opens not connected when restoring fails.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/Conversions.h"
#include "companions/InstrumentState.h"
#include "companions/IoLink.h"
#include "companions/KroDiscoveryCtl.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "control/FrmSetup.h"
#include "control/ZELControl.h"
#include "control/frmConnect1.h"
#include "dialogs/frmDataTransfer.h"
#include "forms/Constants.h"
#include "forms/User.h"
#include "simulator/AnalyzerServer.h"
#include "support/HostFixture.h"
#include "support/ToolbarFixture.h"

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

std::string linkAddress(const automation::ObjectPtr& link) {
  auto io = std::dynamic_pointer_cast<kro::IoLink>(link);
  return io ? io->Address() : "(none)";
}

// A workbook with the add-in's bar and the control placed in it, as Excel opens it.
struct Workbook {
  explicit Workbook(Host& host) {
    host.startExcel();
    bar = testing::addToolbar(*host.excel->commandBars(), 8);
    control = host.placeInWorkbook();
  }
  std::shared_ptr<office::MemoryCommandBar> bar;
  std::shared_ptr<ZELControl> control;
};

class Persistence : public ::testing::Test {
 protected:
  Persistence() { analyzer.start(); }
  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }

  // What a workbook saves after a connection, a Get Data with options of its own and a capture.
  PropertyBag savedWorkbook() {
    Host host;
    Workbook book(host);
    book.control->setConnectedApplication(host.excel);
    host.desk.onForm<frmConnect1>([&](frmConnect1& dialog, User& user) {
      user.type(dialog.discovery()->addressBox, address());
      user.click(dialog.discovery()->connectButton);
      user.click(dialog.closeButton);
    });
    book.control->DoConnect();
    host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
      user.type(f.startCell, "C4");
      user.select(f.annotationsList, {0, 2});
      user.tick(f.makeExcelGraphCheckBox, false);
      user.tick(f.incEngUnits, false);
      user.click(f.getDataBtn);
    });
    bool more = false;
    Variant start;
    book.control->DoDataTransfer(more, start);
    host.desk.onForm<FrmSetup>([](FrmSetup& dialog, User& user) {
      user.type(dialog.panel()->nameBox, "wide");
      user.click(dialog.panel()->captureButton);
      user.click(dialog.closeButton);
    });
    book.control->DoSetup();
    host.desk.verify();

    PropertyBag bag;
    book.control->WriteProperties(bag);
    // Through the stored form, as the document keeps it.
    return PropertyBag::fromBytes(bag.toBytes());
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
};

TEST_F(Persistence, AWorkbookWritesTheConnectionTheStatesAndTheLinkEachAfterTheKeyThatAnnouncesThem) {
  const PropertyBag bag = savedWorkbook();
  // The transfer settings' own keys, in their own order, follow "dataTransferSaved".
  std::vector<std::string> written;
  for (const std::string& key : keys(bag))
    if (!key.starts_with("DataConnectionProp")) written.push_back(key);
  EXPECT_EQ(written, (std::vector<std::string>{"DataCWritten", "dataTransferSaved", "instrSetupInfoWritten",
                                               "InstrSetupsCount", "InstrSetupsName1", "InstrSetupsModel1",
                                               "InstrSetupsVersion1", "InstrSetupsData1", "IOSettingWritten",
                                               "IOSettingsInstrumentClass", "IOSettingsHostName",
                                               "IOSettingsLinkAddress"}));
  EXPECT_EQ(keys(bag)[2], "DataConnectionPropstartCell");
  EXPECT_EQ(keys(bag).size(), written.size() + 18);
  EXPECT_EQ(bag.ReadProperty("DataCWritten"), Variant(int32_t{1}));
  EXPECT_EQ(bag.ReadProperty("instrSetupInfoWritten"), Variant(true));
  EXPECT_EQ(bag.ReadProperty("IOSettingWritten"), Variant(true));
}

TEST_F(Persistence, OpeningTheWorkbookRestoresConnectionSettingsStatesAndLinkWithoutAnyDialog) {
  const PropertyBag bag = savedWorkbook();
  Host host;
  Workbook book(host);
  PropertyBag opened = bag;
  book.control->ReadProperties(opened);
  book.control->setConnectedApplication(host.excel);

  // Everything read is saved again as it was: the settings, the states and the link's address.
  PropertyBag again;
  book.control->WriteProperties(again);
  EXPECT_EQ(keys(again), keys(bag));
  EXPECT_EQ(again.toBytes(), bag.toBytes());

  auto excel = std::dynamic_pointer_cast<ExcelDataConnection>(book.control->connection());
  ASSERT_TRUE(excel) << "an Excel connection";
  EXPECT_EQ(excel->application(), std::static_pointer_cast<office::excel::Application>(host.excel));
  EXPECT_EQ(linkAddress(book.control->getServer()->Device()->IoSession()), address());
  EXPECT_TRUE(book.control->Toolbar1.Buttons().Item("setups").Enabled());
  EXPECT_EQ(book.control->Toolbar1.Buttons().Item("connect").Image(), 4);
  EXPECT_EQ(testing::tips(*book.bar)[ExcelToolbar::kConnected - 1],
            fmt::format("Connected to {} Spectrum Analyzer at {}", book.control->Model(), address()));
  EXPECT_TRUE(host.desk.formsShown().empty());
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(Persistence, AControlWithNothingToRememberWritesOneKey) {
  Host host;
  auto control = host.createControl();
  PropertyBag bag;
  control->WriteProperties(bag);
  ASSERT_EQ(keys(bag), std::vector<std::string>{"DataCWritten"});
  EXPECT_EQ(bag.ReadProperty("DataCWritten"), Variant(int32_t{0}));
}

TEST_F(Persistence, AnyConnectionKindButExcelRestoresAWordConnection) {
  for (const Variant& kind : {Variant(int32_t{2}), Variant(int32_t{7})}) {
    Host host;
    host.startWord();
    auto control = host.placeInDocument();
    PropertyBag bag;
    bag.WriteProperty("DataCWritten", kind);
    control->ReadProperties(bag);
    EXPECT_TRUE(std::dynamic_pointer_cast<WordDataConnection>(control->connection())) << automation::CStr(kind);
  }
}

TEST_F(Persistence, ALinkThatNoLongerAnswersOpensTheDocumentNotConnectedAndSilently) {
  PropertyBag bag = savedWorkbook();
  analyzer.stop();

  Host host;
  Workbook book(host);
  testing::setFaces(*book.bar, "EhEEEdEE", "untouched");
  book.control->ReadProperties(bag);
  // What was read before the link stays.
  EXPECT_TRUE(std::dynamic_pointer_cast<ExcelDataConnection>(book.control->connection()));
  ASSERT_TRUE(book.control->setupInfo());
  EXPECT_EQ(book.control->setupInfo()->Count(), 1);
  EXPECT_FALSE(book.control->getServer()->Device()->IoSession());
  EXPECT_FALSE(book.control->ioSettings()->IoLink());
  EXPECT_EQ(automation::CStr(book.control->ioSettings()->HostName()), "My Computer");
  EXPECT_EQ(book.control->Toolbar1.Buttons().Item("connect").Image(), 2);
  EXPECT_EQ(testing::tips(*book.bar)[ExcelToolbar::kConnected - 1], "untouched");
  EXPECT_TRUE(host.desk.formsShown().empty());
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(Persistence, AnAddressNoLinkUnderstandsOpensNotConnectedOnThisComputer) {
  PropertyBag bag;
  bag.WriteProperty("IOSettingWritten", Variant(true));
  bag.WriteProperty("IOSettingsHostName", Variant("LAB-PC"));
  bag.WriteProperty("IOSettingsLinkAddress", Variant("NOT A LINK"));
  Host host;
  Workbook book(host);
  book.control->ReadProperties(bag);
  ASSERT_TRUE(book.control->ioSettings());
  EXPECT_EQ(automation::CStr(book.control->ioSettings()->HostName()), "My Computer");
  EXPECT_FALSE(book.control->ioSettings()->IoLink());
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(Persistence, AConnectionRestoredOutsideAnyWorkbookReportsTheMissingObjectInsteadOfFailingHard) {
  Host host;
  auto control = host.createControl();  // not placed: nothing holds it
  control->getServer()->Device()->setIoTimeout(2000);
  control->getServer()->Device()->setIoSession(kro::makeIoLink(address()));
  PropertyBag bag;
  bag.WriteProperty("DataCWritten", Variant(int32_t{1}));
  control->ReadProperties(bag);
  auto excel = std::dynamic_pointer_cast<ExcelDataConnection>(control->connection());
  ASSERT_TRUE(excel);
  ASSERT_FALSE(excel->application());

  bool more = true;
  Variant start;
  host.desk.onMessage("Data Transfer Failure");
  control->DoDataTransfer(more, start);
  ASSERT_EQ(host.desk.messages().size(), 1u);
  EXPECT_NE(host.desk.messages()[0].text.find("Error Description: Object variable or With block variable not set"),
            std::string::npos)
      << host.desk.messages()[0].text;
  EXPECT_EQ(host.desk.messages()[0].icon(), forms::vbCritical);
  EXPECT_NO_THROW(control->UpdateConnectedStatus());
  EXPECT_THROW(excel->SetBusyCursor(true), automation::Error);
  EXPECT_THROW(excel->UpdateStatus("x"), automation::Error);
}

}  // namespace
}  // namespace zel
