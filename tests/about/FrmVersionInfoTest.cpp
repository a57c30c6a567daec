#include "about/FrmVersionInfo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "AboutTesting.h"
#include "automation/Registry.h"
#include "companions/ComponentVersionInfo.h"
#include "companions/UtilitiesRegistration.h"
#include "forms/Clipboard.h"
#include "forms/ScriptedDesktop.h"
#include "forms/User.h"

namespace {

using abouttest::rows;
using forms::User;
using testing::ElementsAre;
using zel::FrmVersionInfo;
using zel::frmVersionInfo;

constexpr const char* kKroFolder = R"(C:\Program Files\Common Files\Kro\)";

class VersionInfoTest : public testing::Test {
 protected:
  VersionInfoTest() { kro::registerUtilities(registry); }

  // A component registered under `progId` with its file and version data.
  void component(const std::string& progId, const std::string& file, const std::string& version,
                 std::vector<std::pair<std::string, std::string>> strings) {
    static int next = 0;
    registry.registerClass({progId, "{00000000-0000-4000-8000-0000000001" + std::to_string(10 + next++) + "}",
                            "Component", file, {version, "1.0", std::move(strings)}, {}, "", true, nullptr});
  }

  abouttest::TestMachine machine;
  automation::Registry registry;
  automation::ScopedRegistry registryScope{registry};
  forms::ScriptedDesktop desk;
  forms::ScopedDesktop desktopScope{desk};
};

TEST_F(VersionInfoTest, EachComponentGoesAboveTheOnesBeforeItWithItsFileVersionBuildDateAndLongPath) {
  machine.install("Program Files/Common Files/Kro/KroZEL.dll");
  component("Kro.Installed", R"(C:\PROGRA~1\COMMON~1\Kro\krozel.DLL)", "2.1.0.7", {{"BuildDate", "03/14/2025"}});
  component("Kro.Missing", std::string(kKroFolder) + "KroGone.dll", "1.4.0.2", {{"BuildDate", "11/20/2024"}});

  FrmVersionInfo& form = frmVersionInfo();
  form.clearInfo();
  form.loadInfo("Kro.Installed");
  form.loadInfo("Kro.Missing");
  form.loadInfo("Kro.NotThere");
  EXPECT_THAT(rows(form.lstViewInfo),
              ElementsAre("Kro.NotThere|||This PROGID was not registered on this system",
                          "KroGone.dll|1.4.0.2|11/20/2024|",  // a file that is not there has no long path
                          "krozel.DLL|2.1.0.7|03/14/2025|C:\\Program Files\\Common Files\\Kro\\KroZEL.dll"));

  form.clearInfo();
  EXPECT_EQ(form.lstViewInfo.ListItems().Count(), 0);
}

TEST_F(VersionInfoTest, TheBuildDateComesFromTheVersionStringsInTheirOrderOfPreference) {
  const std::string file = std::string(kKroFolder) + "A.dll";
  component("Kro.Both", file, "1", {{"Build date", "02/02/2002"}, {"BuildDate", "01/01/2001"}});
  component("Kro.Spaced", file, "2", {{"Build date", "02/02/2002"}, {"Comments", "Build date: 03/03/2003"}});
  component("Kro.Comments", file, "3", {{"Comments", "Build date: 04/04/2004"}});
  component("Kro.CommentsLower", file, "4", {{"Comments", "build date: 05/05/2005"}});
  component("Kro.Nothing", file, "5", {});

  FrmVersionInfo& form = frmVersionInfo();
  for (const char* progId : {"Kro.Nothing", "Kro.CommentsLower", "Kro.Comments", "Kro.Spaced", "Kro.Both"})
    form.loadInfo(progId);
  EXPECT_THAT(rows(form.lstViewInfo), ElementsAre("A.dll|1|01/01/2001|", "A.dll|2|02/02/2002|", "A.dll|3|04/04/2004|",
                                                  "A.dll|4|??|", "A.dll|5|??|"));
}

TEST_F(VersionInfoTest, WithoutTheVersionServiceEveryComponentIsShownAsNotRegistered) {
  registry.unregisterClass(kro::ComponentVersionInfo::kProgId);
  frmVersionInfo().loadInfo("KroDiscovery.CIOSettings");
  EXPECT_THAT(rows(frmVersionInfo().lstViewInfo),
              ElementsAre("KroDiscovery.CIOSettings|||This PROGID was not registered on this system"));
}

TEST_F(VersionInfoTest, TheDialogCopiesItsRowsAsTabSeparatedLinesAndOkOnlyHidesIt) {
  const std::string copied =
      "Kro.Unknown\t\t\tThis PROGID was not registered on this system\r\nOne.dll\t1.0.0.1\t01/01/2001\t";
  component("Kro.One", std::string(kKroFolder) + "One.dll", "1.0.0.1", {{"BuildDate", "01/01/2001"}});
  FrmVersionInfo& form = frmVersionInfo();
  desk.onForm<FrmVersionInfo>([](FrmVersionInfo& f, User& user) {
        user.click(f.cmdCopyToClipboard);  // an empty list copies an empty text
        user.click(f.cmdOK);
      })
      .onForm<FrmVersionInfo>([&](FrmVersionInfo& f, User& user) {
        EXPECT_TRUE(f.cmdOK.hasFocus()) << "OK is first in tab order";
        user.click(f.cmdCopyToClipboard);
        EXPECT_EQ(forms::Clipboard::GetText(), copied);
        forms::Clipboard::SetText("something else");
        // Ctrl+C in the list copies the same; other keys do not.
        user.focus(f.lstViewInfo);
        user.pressKey('c');
        EXPECT_EQ(forms::Clipboard::GetText(), "something else");
        user.pressKey(forms::vbKeyCtrlC);
        EXPECT_EQ(forms::Clipboard::GetText(), copied);
        user.click(f.cmdOK);
      });
  form.Show(forms::vbModal);
  EXPECT_THAT(desk.lines(forms::TranscriptEntry::Kind::Clipboard), ElementsAre("cleared", "set "));
  form.loadInfo("Kro.One");
  form.loadInfo("Kro.Unknown");
  form.Show(forms::vbModal);
  desk.verify();
  EXPECT_TRUE(form.isLoaded()) << "OK only hides the dialog";
  EXPECT_EQ(rows(form.lstViewInfo).size(), 2u);

  // Closed through its window frame it unloads, and the list goes with it.
  desk.onForm<FrmVersionInfo>([](FrmVersionInfo&, User& user) { user.closeWindow(); });
  form.Show(forms::vbModal);
  desk.verify();
  EXPECT_FALSE(form.isLoaded());
  EXPECT_TRUE(rows(form.lstViewInfo).empty());
}

TEST_F(VersionInfoTest, ResizingKeepsTheMarginsAndStopsAtZero) {
  // List width and height, OK's left and top, Copy's left and top, the title's left.
  const auto layout = [](FrmVersionInfo& f) {
    return std::vector<int>{f.lstViewInfo.Width(), f.lstViewInfo.Height(), f.cmdOK.Left(), f.cmdOK.Top(),
                            f.cmdCopyToClipboard.Left(), f.cmdCopyToClipboard.Top(), f.lblCompVersionTitle.Left()};
  };
  desk.onForm<FrmVersionInfo>([&](FrmVersionInfo& f, User& user) {
    user.resize(9000, 6000);
    EXPECT_THAT(layout(f), ElementsAre(8800, 6000 - 492 - 372 - 1000, 9000 - 732 - 200, 6000 - 372 - 450, 120,
                                       6000 - 372 - 450, 4500 - 3972 / 2));
    user.resize(150, 300);  // OK alone may go past the left edge
    EXPECT_THAT(layout(f), ElementsAre(0, 0, 150 - 732 - 200, 0, 120, 0, 0));
    user.click(f.cmdOK);
  });
  frmVersionInfo().Show(forms::vbModal);
  desk.verify();
}

TEST_F(VersionInfoTest, PathsTurnLongAndShortThroughTheFileSystem) {
  machine.install("Program Files/Common Files/Kro/KroInstrUtilities.dll");
  machine.install("Program Data/readme.txt");
  FrmVersionInfo& form = frmVersionInfo();
  EXPECT_EQ(form.GetLongFilename(R"(C:\progra~2\COMMON~1\kro\KROINS~1.DLL)"),
            R"(C:\Program Files\Common Files\Kro\KroInstrUtilities.dll)");
  EXPECT_EQ(form.GetLongFilename(R"(C:\Program Files\Common Files\Kro\Gone.dll)"), "");
  EXPECT_EQ(form.GetShortFilename(R"(C:\Program Files\Common Files\Kro\KroInstrUtilities.dll)"),
            R"(C:\PROGRA~2\COMMON~1\Kro\KROINS~1.DLL)");
  EXPECT_EQ(form.GetShortFilename(R"(C:\Program Files\Gone.dll)"), "");
}

}  // namespace
