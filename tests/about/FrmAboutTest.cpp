#include "about/FrmAbout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "AboutTesting.h"
#include "automation/Clock.h"
#include "automation/Collection.h"
#include "companions/ComponentVersionInfo.h"
#include "control/BuildInfo.h"
#include "forms/User.h"
#include "support/CrLfLines.h"
#include "support/ErrorOf.h"
#include "support/HostFixture.h"
#include "support/MessageCheck.h"

namespace zel {
namespace {

using forms::User;
using ::testing::ElementsAre;
using testsupport::errorOf;

constexpr forms::OLE_COLOR kBlue = forms::RGB(0, 0, 255);
constexpr forms::OLE_COLOR kRed = forms::RGB(255, 0, 0);

// The About command of a control in a workbook, with the library's file installed on drive C:.
class AboutTest : public ::testing::Test {
 protected:
  AboutTest() {
    machine.install("Program Files/ZEL/ZELControlProj.ocx");
    host.startExcel();
    control = host.placeInWorkbook();
  }

  abouttest::TestMachine machine;
  testing::Host host;
  automation::FakeClock clock;
  automation::ScopedClock clockScope{clock};
  std::shared_ptr<ZELControl> control;
};

std::vector<std::string> listOf(forms::ListBox& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
  return out;
}

TEST_F(AboutTest, ShowsTheTitleModelsLinksAndNoticeTheCommandFillsIn) {
  host.desk.onForm<FrmAbout>([](FrmAbout& f, User& user) {
    EXPECT_EQ(f.lblTitle.Caption(), "Veltrix for ORV/ZEL-Q/R/VX Series\r\nSpectrum Analyzers");
    EXPECT_THAT(listOf(f.supModelsCombo), ElementsAre("ORV 3013", "ORV 3026", "ZEL-Q 3008", "ZEL-Q 3018",
                                                      "ZEL-R 3026", "ZEL-R 3036", "ZEL-VX 3044", "ZEL-VX 3067"));
    EXPECT_THAT((std::vector<std::string>{f.lblLinkCorvane.Caption(), f.lblLinkVeltrix.Caption(),
                                          f.lblLinkProduct.Caption(), f.lblLinkProduct2.Caption()}),
                ElementsAre("Corvane on the Web", "Veltrix on the Web", "ZEL on the Web", "ORV on the Web"));
    EXPECT_EQ(f.lblCopyright.Caption(), std::string("Copyright (C) Corvane, Version ") + build::kFileVersion);
    user.pressEnter();
  });
  // Through IToolbarSupport, as the add-in's About button calls it.
  control->invoke("DoAbout", automation::DispatchKind::Method);
  host.desk.verify();
  EXPECT_THAT(host.desk.formsShown(), ElementsAre("Corvane ORV/ZEL-Q/R/VX Spectrum Analyzers (FrmAbout)"));
}

TEST_F(AboutTest, LinksOpenInTheBrowserInTheOrderClickedAndTurnRed) {
  host.desk.onForm<FrmAbout>([](FrmAbout& f, User& user) {
    // The hidden buttons open the first two links and leave the colours alone.
    user.click(f.cmdCorvane);
    user.click(f.cmdVeltrix);
    user.click(f.cmdZEL);
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
    user.click(f.cmdOK);
  });
  control->DoAbout();
  host.desk.verify();
  EXPECT_THAT(host.desk.browserCalls(),
              ElementsAre("https://www.corvane.example/", "https://www.corvane.example/veltrix/",
                          "https://www.corvane.example/veltrix/orv/", "https://www.corvane.example/veltrix/zel/",
                          "https://www.corvane.example/", "https://www.corvane.example/veltrix/",
                          "https://www.corvane.example/veltrix/zel/"));
  EXPECT_EQ(clock.slept(), std::chrono::milliseconds(7 * 100)) << "a pause after every link opened";
}

TEST_F(AboutTest, WithoutABrowserTheUserIsToldAndTheDialogStaysOpen) {
  host.desk.setBrowserAvailable(false);
  host.desk.onForm<FrmAbout>([](FrmAbout& f, User& user) {
    user.click(f.lblLinkVeltrix);
    EXPECT_TRUE(f.Visible());
    user.click(f.cmdOK);
  });
  host.desk.onMessage("The browser failed to start");
  control->DoAbout();
  host.desk.verify();
  ASSERT_EQ(host.desk.messages().size(), 1u);
  testsupport::expectMessage(host.desk.messages()[0],
                             "The browser failed to start\r\nPlease try installing the latest version and retry this "
                             "link", "", "ZELControlProj");
  EXPECT_EQ(clock.slept(), std::chrono::milliseconds(100)) << "the pause comes after a failure too";
}

TEST_F(AboutTest, ComponentInfoListsTheToolbarsComponentsLastFirstAndCopiesThemLineByLine) {
  host.desk.onForm<FrmAbout>([](FrmAbout& f, User& user) {
        user.click(f.cmdVersionInfo);
        user.click(f.cmdOK);
      })
      .onForm<FrmVersionInfo>([](FrmVersionInfo& f, User& user) {
        user.click(f.cmdCopyToClipboard);
        user.click(f.cmdOK);
      });
  control->DoAbout();
  host.desk.verify();
  EXPECT_THAT(host.desk.formsShown(),
              ElementsAre("Corvane ORV/ZEL-Q/R/VX Spectrum Analyzers (FrmAbout)",
                          "Component Version Information (FrmVersionInfo) owner FrmAbout"));

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

TEST_F(AboutTest, TheModelsListTakesExactlyTheGivenModelsAndNeedsThem) {
  FrmAbout about;
  auto models = std::make_shared<automation::Collection>();
  models->Add(automation::Variant("ZEL-Q 3008"));
  about.InitModels(models);
  about.InitModels(models);
  EXPECT_THAT(listOf(about.supModelsCombo), ElementsAre("ZEL-Q 3008")) << "filling again starts from empty";
  EXPECT_EQ(errorOf([&] { about.InitModels(nullptr); }), automation::vbErrObjectNotSet);

  // Without the version service the command fails before showing anything.
  host.registry.unregisterClass(kro::ComponentVersionInfo::kProgId);
  EXPECT_EQ(errorOf([&] { control->DoAbout(); }), automation::vbErrCantCreateObject);
  EXPECT_TRUE(host.desk.formsShown().empty());
  host.desk.verify();
}

}  // namespace
}  // namespace zel
