// Capture/Restore Settings: the command, its dialog and the instrument-setups panel it hosts,
// against the simulated analyzer, and settings files of the older analyzers imported into it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "WorkbookSession.h"
#include "companions/InstrumentState.h"
#include "companions/ItemStateInfo.h"
#include "control/FrmSetup.h"
#include "win32/Win32.h"

namespace zel {
namespace {

using forms::User;

// The panel as the person at the dialog sees it.
using PanelScript = std::function<void(kro::InstrumentState&, User&)>;

class Setups : public testing::WorkbookSession {
 protected:
  // The control's own "setups" button opens Capture/Restore Settings; the user acts in the panel
  // and closes the dialog.
  void inDialog(const PanelScript& script) {
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

TEST_F(Setups, CapturedStatesSetTheAnalyzerBackAndAreReplacedOrDeletedByName) {
  step("without an analyzer the panel tells why nothing was captured");
  inDialog([&](kro::InstrumentState& panel, User& user) {
    user.type(panel.nameBox, "x");
    host.desk.onMessage("connect to an analyzer first");
    user.click(panel.captureButton);
  });
  ASSERT_EQ(host.desk.messages().size(), 1u);
  EXPECT_EQ(host.desk.messages()[0].title, "Instrument Setups");
  EXPECT_EQ(control->setupInfo()->Count(), 0);

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
    EXPECT_EQ(panel.detailsLabel.Caption(), fmt::format("{}, version {}", control->Model(), control->Version()));
    user.click(panel.restoreButton);
    EXPECT_EQ(panel.statusLabel.Caption(), "Restored narrow");
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
  EXPECT_EQ(host.desk.messages().size(), 1u);
}

TEST_F(Setups, AMissingPanelIsReportedAsAFailedStateManagement) {
  ASSERT_TRUE(host.registry.unregisterClass(kro::InstrumentState::kProgId));
  host.desk.onMessage("Failed to do state management.");
  control->DoSetup();
  ASSERT_EQ(host.desk.messages().size(), 1u);
  const auto& shown = host.desk.messages()[0];
  EXPECT_TRUE(shown.text.starts_with("Failed to do state management.\r\nError Description: ")) << shown.text;
  testsupport::expectError(shown, shown.text);
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
    if (i == rows.size() || rows[i].model.empty()) {
      refused.push_back(files.back() + " is not a settings file of the older analyzers");
    }
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

}  // namespace
}  // namespace zel
