// The About command and its Component Version Information dialog, on a machine whose drive C: is
// a temporary folder where a test installs the component files it wants found.
#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "about/FrmAbout.h"
#include "about/FrmVersionInfo.h"
#include "automation/Clock.h"
#include "automation/Collection.h"
#include "companions/ComponentVersionInfo.h"
#include "control/BuildInfo.h"
#include "forms/Clipboard.h"
#include "forms/User.h"
#include "support/CrLfLines.h"
#include "support/ErrorOf.h"
#include "support/HostFixture.h"
#include "support/MessageCheck.h"
#include "win32/Win32.h"

namespace zel {
namespace {

using forms::User;
using ::testing::ElementsAre;
using testsupport::errorOf;

constexpr forms::OLE_COLOR kBlue = forms::RGB(0, 0, 255);
constexpr forms::OLE_COLOR kRed = forms::RGB(255, 0, 0);
constexpr const char* kKroFolder = R"(C:\Program Files\Common Files\Kro\)";

// A control placed in a workbook, with the library's own file installed.
class AboutTest : public ::testing::Test {
 protected:
  AboutTest() {
    root = std::filesystem::temp_directory_path() / fmt::format("abouttest-{}", ::getpid());
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    machine->mapDrive('C', root);
    install("Program Files/ZEL/ZELControlProj.ocx");
    host.startExcel();
    control = host.placeInWorkbook();
  }
  ~AboutTest() override {
    releaseFrmVersionInfo();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }

  void install(const std::string& relative) {
    const auto path = root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "MZ";
  }
  // A component registered under `progId` with its file and version data.
  void component(const std::string& progId, const std::string& file, const std::string& version,
                 std::vector<std::pair<std::string, std::string>> strings) {
    static int next = 0;
    host.registry.registerClass({progId,
                                 fmt::format("{{00000000-0000-4000-8000-0000000001{}}}", 10 + next++),
                                 "Component",
                                 file,
                                 {version, "1.0", std::move(strings)},
                                 {},
                                 "",
                                 true,
                                 nullptr});
  }

  win32::ScopedMachine machine;
  std::filesystem::path root;
  testing::Host host;
  automation::FakeClock clock;
  automation::ScopedClock clockScope{clock};
  std::shared_ptr<ZELControl> control;
};

using VersionInfoTest = AboutTest;

TEST_F(AboutTest, TheDialogShowsTheProductOpensItsLinksAndListsTheComponents) {
  host.desk
      .onForm<FrmAbout>([&](FrmAbout& f, User& user) {
        EXPECT_EQ(f.lblTitle.Caption(), "Veltrix for ORV/ZEL-Q/R/VX Series\r\nSpectrum Analyzers");
        ASSERT_EQ(f.supModelsCombo.ListCount(), 8);
        EXPECT_EQ(f.supModelsCombo.List(0) + "," + f.supModelsCombo.List(7), "ORV 3013,ZEL-VX 3067");
        EXPECT_THAT((std::vector<std::string>{f.lblLinkCorvane.Caption(), f.lblLinkVeltrix.Caption(),
                                              f.lblLinkProduct.Caption(), f.lblLinkProduct2.Caption()}),
                    ElementsAre("Corvane on the Web", "Veltrix on the Web", "ZEL on the Web", "ORV on the Web"));
        EXPECT_EQ(f.lblCopyright.Caption(), std::string("Copyright (C) Corvane, Version ") + build::kFileVersion);
        // The hidden buttons open the first two links and leave the colours alone.
        user.click(f.cmdCorvane);
        user.click(f.cmdVeltrix);
        EXPECT_EQ(f.lblLinkCorvane.ForeColor(), kBlue);
        user.click(f.lblLinkProduct2);
        EXPECT_EQ(f.lblLinkProduct2.ForeColor(), kRed);
        EXPECT_EQ(f.lblLinkProduct.ForeColor(), kBlue) << "only the clicked link changes";
        user.click(f.lblLinkProduct);
        // A picture beside a link does what its label does; the last one does nothing.
        user.click(f.imgCorvane);
        user.click(f.imgVeltrix);
        user.click(f.imgProduct2);
        EXPECT_EQ(f.lblLinkVeltrix.ForeColor(), kRed);
        user.click(f.imgProduct);
        host.desk.setBrowserAvailable(false);
        user.click(f.lblLinkVeltrix);
        EXPECT_TRUE(f.Visible()) << "a browser that fails leaves the dialog open";
        user.click(f.cmdVersionInfo);
        user.click(f.cmdOK);
      })
      .onMessage("The browser failed to start")
      .onForm<FrmVersionInfo>([](FrmVersionInfo& f, User& user) {
        user.click(f.cmdCopyToClipboard);
        user.click(f.cmdOK);
      });
  // Through IToolbarSupport, as the add-in's About button calls it.
  control->invoke("DoAbout", automation::DispatchKind::Method);
  host.desk.verify();
  EXPECT_THAT(host.desk.browserCalls(),
              ElementsAre("https://www.corvane.example/", "https://www.corvane.example/veltrix/",
                          "https://www.corvane.example/veltrix/orv/", "https://www.corvane.example/veltrix/zel/",
                          "https://www.corvane.example/", "https://www.corvane.example/veltrix/",
                          "https://www.corvane.example/veltrix/zel/", "https://www.corvane.example/veltrix/"));
  EXPECT_EQ(clock.slept(), std::chrono::milliseconds(8 * 100)) << "a pause after every link, opened or not";
  ASSERT_EQ(host.desk.messages().size(), 1u);
  const std::string browserFailed =
      "The browser failed to start\r\nPlease try installing the latest version and retry this link";
  testsupport::expectMessage(host.desk.messages()[0], browserFailed, "", "ZELControlProj");
  EXPECT_THAT(host.desk.formsShown(), ElementsAre("Corvane ORV/ZEL-Q/R/VX Spectrum Analyzers (FrmAbout)",
                                                  "Component Version Information (FrmVersionInfo) owner FrmAbout"));
  // The toolbar's components, the one registered last on top, copied line by line.
  const std::string library = std::string("ZELControlProj.ocx\t") + build::kFileVersion + "\t" + build::kBuildDate +
                              "\tC:\\Program Files\\ZEL\\ZELControlProj.ocx";
  const std::string missing = "\t\t\tThis PROGID was not registered on this system";
  EXPECT_THAT(testsupport::crlfLines(host.desk.clipboardText().value_or("<nothing>")),
              ElementsAre(library, "NDXLServers.dll\t1.4.0.2\t11/20/2024\t",  // not installed on drive C:
                          "KroRS232.dll\t2.1.0.3\t??\t", library, "KroIONI488.GPIB" + missing,
                          "KroIOUtils.KroIOServer" + missing, "KroIO.GPIB" + missing,
                          "KroInstrUtilities.dll\t2.1.0.4\t03/14/2025\t", "KroInstrSetups.ocx\t2.1.0.3\t04/11/2025\t",
                          "KroZEL.dll\t2.1.0.7\t??\t", "KroDiscovery.ocx\t2.1.0.9\t05/02/2025\t"));
}

TEST_F(AboutTest, TheModelsListTakesExactlyTheGivenModelsAndTheCommandNeedsTheVersionService) {
  FrmAbout about;
  auto models = std::make_shared<automation::Collection>();
  models->Add(automation::Variant("ZEL-Q 3008"));
  about.InitModels(models);
  about.InitModels(models);
  EXPECT_EQ(about.supModelsCombo.ListCount(), 1) << "filling again starts from empty";

  host.registry.unregisterClass(kro::ComponentVersionInfo::kProgId);
  EXPECT_EQ(errorOf([&] { control->DoAbout(); }), automation::vbErrCantCreateObject);
  EXPECT_TRUE(host.desk.formsShown().empty());
}

TEST_F(VersionInfoTest, EachComponentGoesOnTopAndTheRowsAreCopiedAsShown) {
  install("Program Files/Common Files/Kro/KroZEL.dll");
  component("Kro.Installed", R"(C:\PROGRA~1\COMMON~1\Kro\krozel.DLL)", "2.1.0.7", {{"BuildDate", "03/14/2025"}});
  // The build date from the version strings, in their order of preference.
  const std::string file = std::string(kKroFolder) + "A.dll";
  component("Kro.Both", file, "1", {{"Build date", "02/02/2002"}, {"BuildDate", "01/01/2001"}});
  component("Kro.Spaced", file, "2", {{"Build date", "02/02/2002"}, {"Comments", "Build date: 03/03/2003"}});
  component("Kro.Comments", file, "3", {{"Comments", "Build date: 04/04/2004"}});
  component("Kro.CommentsLower", file, "4", {{"Comments", "build date: 05/05/2005"}});
  // List width and height, OK's left and top, Copy's left and top, the title's left.
  const auto layout = [](FrmVersionInfo& f) {
    return std::vector<int>{f.lstViewInfo.Width(), f.lstViewInfo.Height(), f.cmdOK.Left(), f.cmdOK.Top(),
                            f.cmdCopyToClipboard.Left(), f.cmdCopyToClipboard.Top(), f.lblCompVersionTitle.Left()};
  };
  std::string copied = "not copied";
  host.desk
      .onForm<FrmVersionInfo>([&](FrmVersionInfo& f, User& user) {
        user.resize(9000, 6000);
        EXPECT_THAT(layout(f), ElementsAre(8800, 6000 - 492 - 372 - 1000, 9000 - 732 - 200, 6000 - 372 - 450, 120,
                                           6000 - 372 - 450, 4500 - 3972 / 2));
        user.resize(150, 300);  // OK alone may go past the left edge
        EXPECT_THAT(layout(f), ElementsAre(0, 0, 150 - 732 - 200, 0, 120, 0, 0));
        user.click(f.cmdOK);
      })
      .onForm<FrmVersionInfo>([&](FrmVersionInfo& f, User& user) {
        EXPECT_TRUE(f.cmdOK.hasFocus()) << "OK is first in tab order";
        user.click(f.cmdCopyToClipboard);
        copied = forms::Clipboard::GetText();
        forms::Clipboard::SetText("something else");
        // Ctrl+C in the list copies the same; other keys do not.
        user.focus(f.lstViewInfo);
        user.pressKey('c');
        EXPECT_EQ(forms::Clipboard::GetText(), "something else");
        user.pressKey(forms::vbKeyCtrlC);
        EXPECT_EQ(forms::Clipboard::GetText(), copied);
        user.click(f.cmdOK);
      });
  FrmVersionInfo& form = frmVersionInfo();
  form.Show(forms::vbModal);
  for (const char* progId : {"Kro.Installed", "Kro.CommentsLower", "Kro.Comments", "Kro.Spaced", "Kro.Both"})
    form.loadInfo(progId);
  form.Show(forms::vbModal);
  host.desk.verify();
  EXPECT_THAT(
      testsupport::crlfLines(copied),
      ElementsAre("A.dll\t1\t01/01/2001\t", "A.dll\t2\t02/02/2002\t", "A.dll\t3\t04/04/2004\t", "A.dll\t4\t??\t",
                  "krozel.DLL\t2.1.0.7\t03/14/2025\tC:\\Program Files\\Common Files\\Kro\\KroZEL.dll"));
}

}  // namespace
}  // namespace zel
