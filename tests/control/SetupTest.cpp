// Capture/Restore Settings: the command, its dialog and the instrument-setups panel it hosts,
// against the simulated analyzer; and the captured states as the document keeps them.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "automation/SafeArray.h"
#include "companions/ErrorCodes.h"
#include "companions/InstrumentState.h"
#include "companions/IoLinkFactory.h"
#include "companions/ItemStateInfo.h"
#include "control/FrmSetup.h"
#include "control/ZELControl.h"
#include "forms/Constants.h"
#include "forms/User.h"
#include "simulator/AnalyzerServer.h"
#include "support/ErrorOf.h"
#include "support/HostFixture.h"
#include "win32/Win32.h"

namespace zel {
namespace {

using automation::PropertyBag;
using automation::Variant;
using forms::User;
using testing::Host;

// The panel as the person at the dialog sees it.
using PanelScript = std::function<void(kro::InstrumentState&, User&)>;

class Setups : public ::testing::Test {
 protected:
  Setups() {
    analyzer.start();
    host.startExcel();
    control = host.placeInWorkbook();
    control->getServer()->Device()->setIoTimeout(2000);
  }
  void connect() {
    control->getServer()->Device()->setIoSession(
        kro::makeIoLink(fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port())));
  }
  // Opens Capture/Restore Settings and acts in the panel, then closes the dialog; the panel
  // may tell something on the way.
  void inDialog(const PanelScript& script, const std::string& message = {}) {
    host.desk.onForm<FrmSetup>([=, this](FrmSetup& dialog, User& user) {
      // While the dialog is open the states reach the analyzer through the control.
      EXPECT_EQ(control->setupInfo()->SetupInterface(), control->queryInterface(ZELControl::kISetupInterfaceIid));
      script(*dialog.panel(), user);
      user.click(dialog.closeButton);
    });
    if (!message.empty()) host.desk.onMessage(message);
    // The control's own "setups" button.
    control->Toolbar1_ButtonClick(control->Toolbar1.Buttons().Item("setups"));
  }
  void capture(const std::string& name) {
    inDialog([&](kro::InstrumentState& panel, User& user) {
      user.type(panel.nameBox, name);
      user.click(panel.captureButton);
    });
  }
  void restore(int index) {
    inDialog([&](kro::InstrumentState& panel, User& user) {
      user.clickItem(panel.statesList, index);
      user.click(panel.restoreButton);
    });
  }
  void instrument(const std::string& commands) {
    analyzer.withAnalyzer([&](sim::Analyzer& a) { a.execute(commands); });
  }
  sim::Settings settings() {
    return analyzer.withAnalyzer([](sim::Analyzer& a) { return a.settings(); });
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  Host host;
  std::shared_ptr<ZELControl> control;
};

TEST_F(Setups, ACapturedStateSetsTheAnalyzerBackAfterItsSettingsChanged) {
  connect();
  instrument(":FREQ:STAR 100 MHZ;:FREQ:STOP 200 MHZ;:POW:ATT 30;:SWE:POIN 501");
  const sim::Settings captured = settings();
  const int changesBefore = host.site->propertyChangedCount();
  capture("narrow");
  EXPECT_EQ(host.site->propertyChangedCount(), changesBefore + 2);
  EXPECT_FALSE(control->setupInfo()->SetupInterface()) << "the states let go of the control with the dialog";

  instrument("*RST");
  ASSERT_NE(settings(), captured);
  // The states of the first visit are offered on the second.
  inDialog([&](kro::InstrumentState& panel, User& user) {
    ASSERT_EQ(panel.statesList.ListCount(), 1);
    EXPECT_EQ(panel.statesList.List(0), "narrow");
    user.clickItem(panel.statesList, 0);
    EXPECT_EQ(panel.detailsLabel.Caption(), fmt::format("{}, version {}", control->Model(), control->Version()));
    user.click(panel.restoreButton);
    EXPECT_EQ(panel.statusLabel.Caption(), "Restored narrow");
  });
  EXPECT_EQ(settings(), captured);
  host.desk.verify();
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(Setups, CapturingAgainUnderANameReplacesThatStateAndDeleteRemovesIt) {
  connect();
  capture("a");
  instrument(":POW:ATT 40");
  capture("b");
  instrument(":POW:ATT 50");
  capture("A");
  ASSERT_EQ(control->setupInfo()->Count(), 2);
  inDialog([&](kro::InstrumentState& panel, User& user) {
    user.clickItem(panel.statesList, 1);
    user.click(panel.deleteButton);
    EXPECT_EQ(panel.statesList.ListCount(), 1);
  });
  ASSERT_EQ(control->setupInfo()->Count(), 1);
  instrument(":POW:ATT 10");
  restore(0);
  EXPECT_EQ(settings().attenuationDb, 50) << "the state captured last under that name";
}

TEST_F(Setups, WithoutAnAnalyzerTheDialogOpensAndThePanelTellsWhyCaptureFailed) {
  inDialog([&](kro::InstrumentState& panel, User& user) {
    user.type(panel.nameBox, "x");
    user.click(panel.captureButton);
    EXPECT_EQ(panel.statesList.ListCount(), 0);
  }, "connect to an analyzer first");
  ASSERT_EQ(host.desk.messages().size(), 1u);
  EXPECT_EQ(host.desk.messages()[0].title, "Instrument Setups");
  EXPECT_NE(host.desk.messages()[0].text.find("connect to an analyzer first"), std::string::npos);
  EXPECT_EQ(control->setupInfo()->Count(), 0);
}

TEST_F(Setups, AMissingPanelIsReportedAsAFailedStateManagement) {
  ASSERT_TRUE(host.registry.unregisterClass(kro::InstrumentState::kProgId));
  host.desk.onMessage("Failed to do state management.");
  control->DoSetup();
  ASSERT_EQ(host.desk.messages().size(), 1u);
  const auto& shown = host.desk.messages()[0];
  EXPECT_EQ(shown.text.rfind("Failed to do state management.\r\nError Description: ", 0), 0u) << shown.text;
  EXPECT_EQ(shown.icon(), forms::vbCritical);
  EXPECT_EQ(shown.title, "Error");
  ASSERT_TRUE(control->setupInfo());
  EXPECT_FALSE(control->setupInfo()->SetupInterface());
}

TEST_F(Setups, ImportKeepsAnOlderAnalyzersSettingsFileUnderItsNameAndRefusesOtherFiles) {
  const auto folder = std::filesystem::temp_directory_path() / fmt::format("zel-setups-{}", ::getpid());
  std::filesystem::create_directories(folder);
  win32::ScopedMachine machine;
  win32::machine().mapDrive('D', folder);
  const std::string header = "NORDAL SETUP FILE\r\nv1\r\nsaved\r\nMODEL ZEL-Q 3008\r\n#210STATE:1234";
  std::ofstream(folder / "sweep.set", std::ios::binary) << header << std::string(100, 'x');
  std::ofstream(folder / "notes.txt", std::ios::binary) << std::string(150, 'n');

  inDialog([&](kro::InstrumentState& panel, User& user) {
    user.type(panel.fileBox, "D:\\sweep.set");
    user.click(panel.importButton);
    user.type(panel.fileBox, "D:\\notes.txt");
    user.click(panel.importButton);
  }, "is not a settings file");
  std::filesystem::remove_all(folder);

  ASSERT_EQ(control->setupInfo()->Count(), 1);
  const auto state = control->setupInfo()->Item(1);
  EXPECT_EQ(state->name(), "sweep");
  EXPECT_EQ(state->model(), "ZEL-Q 3008");
  EXPECT_EQ(state->version(), "*");
  const auto& data = state->data().asArray().bytes();
  EXPECT_EQ(std::string(data.begin(), data.end()), "STATE:1234");
  ASSERT_EQ(host.desk.messages().size(), 1u);
  EXPECT_EQ(host.desk.messages()[0].text, "D:\\notes.txt is not a settings file of the older analyzers");
}

// ---- the states as the document keeps them -------------------------------------------------

PropertyBag twoStates() {
  PropertyBag bag;
  bag.WriteProperty("InstrSetupsCount", Variant(int32_t{2}));
  for (int i = 1; i <= 2; ++i) {
    bag.WriteProperty(fmt::format("InstrSetupsName{}", i), Variant(fmt::format("state {}", i)));
    bag.WriteProperty(fmt::format("InstrSetupsModel{}", i), Variant("ZEL-R 3026"));
    bag.WriteProperty(fmt::format("InstrSetupsVersion{}", i), Variant("1.40"));
    bag.WriteProperty(fmt::format("InstrSetupsData{}", i), Variant(automation::SafeArray::ofBytes({1, 2, 3})));
  }
  return bag;
}

TEST(SetupStates, DamagedEntriesAreRefusedAndLeaveTheStatesAsTheyWere) {
  struct Row {
    const char* key;
    Variant value;
  };
  const std::vector<Row> rows{
      {"InstrSetupsCount", Variant(int32_t{2'000'000'000})},
      {"InstrSetupsCount", Variant(int32_t{-1})},
      {"InstrSetupsCount", Variant("2")},
      {"InstrSetupsData2", Variant("not an image")},
      {"InstrSetupsData1", Variant(automation::SafeArray(automation::vbLong, {{0, 2}}))},
      {"InstrSetupsName1", Variant(3.5)},
      {"InstrSetupsName2", Variant("STATE 1")},  // names differ in letter case only
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    kro::ItemStateInfo info;
    info.ReadProperties(twoStates());
    PropertyBag bag = twoStates();
    bag.WriteProperty(row.key, row.value);
    EXPECT_EQ(testsupport::errorOf([&] { info.ReadProperties(bag); }),
              automation::vbObjectError + static_cast<int32_t>(kro::ErrorCode::DamagedStates))
        << "row " << i;
    EXPECT_EQ(info.Count(), 2) << "row " << i;
  }
}

}  // namespace
}  // namespace zel
