#include <gtest/gtest.h>

#include "OfficeTesting.h"
#include "office/CommandBars.h"
#include "office/MemoryCommandBars.h"

namespace {

using automation::Variant;
using office::testing::raised;

constexpr char kBar[] = "ORV/ZEL Spectrum Analyzer";

class CommandBarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto bar = bars->Add(kBar);
    for (int i = 0; i < 8; ++i) bar->Controls()->Add(office::msoControlButton);
  }
  std::shared_ptr<office::MemoryCommandBars> bars = office::createCommandBars();
};

TEST_F(CommandBarsTest, BarsAndButtonsThatAreNotThereRaiseFive) {
  EXPECT_EQ(bars->Item("orv/zel spectrum analyzer")->Name(), kBar);
  for (const Variant& missing : {Variant("ORV/ZEL Spectrum Analyser"), Variant(0), Variant(2)})
    EXPECT_EQ(raised([&] { bars->Item(missing); }).number(), automation::vbErrInvalidProcedureCall);
  auto controls = bars->Item(kBar)->Controls();
  EXPECT_EQ(controls->Count(), 8);
  for (const Variant& missing : {Variant(0), Variant(9), Variant("Help")})
    EXPECT_EQ(raised([&] { controls->Item(missing); }).number(), automation::vbErrInvalidProcedureCall);
  EXPECT_EQ(raised([&] { bars->Add(kBar); }).number(), automation::vbErrInvalidProcedureCall);
  // A renamed bar is found only under its new name.
  bars->Item(kBar)->setName("Mine");
  EXPECT_EQ(raised([&] { bars->Item(kBar); }).number(), automation::vbErrInvalidProcedureCall);
}

TEST_F(CommandBarsTest, ButtonsKeepWhatIsSetAndARefusedPutChangesNothing) {
  auto button = bars->Item(kBar)->Controls()->Item(3);
  button->setCaption("Connected");
  EXPECT_EQ(button->TooltipText(), "Connected");  // Office's tip for a button without one
  button->setTooltipText("Connected to ZEL-R at 192.168.0.9");
  button->setEnabled(false);
  button->setVisible(false);
  EXPECT_EQ(button->TooltipText(), "Connected to ZEL-R at 192.168.0.9");
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(button->Visible());
  EXPECT_EQ(button->Index(), 3);

  bars->bar(kBar)->button(3)->refuse("Visible");
  const automation::Error refused = raised([&] { button->setVisible(true); });
  EXPECT_EQ(refused.number(), static_cast<int32_t>(0x80004005u));
  EXPECT_EQ(refused.description(), "Method 'Visible' of object '_CommandBarButton' failed");
  EXPECT_FALSE(button->Visible());
  button->setEnabled(true);  // other properties still go through
  EXPECT_TRUE(button->Enabled());

  bars->Item(kBar)->Delete();
  EXPECT_EQ(raised([&] { button->setEnabled(false); }).number(), static_cast<int32_t>(0x80004005u));
  EXPECT_EQ(bars->Count(), 0);
}

TEST_F(CommandBarsTest, ControlsAddAtAPosition) {
  auto controls = bars->Item(kBar)->Controls();
  auto first = controls->Add(office::msoControlButton, Variant(), Variant(), 1);
  first->setCaption("About");
  EXPECT_EQ(controls->Item(1)->Caption(), "About");
  EXPECT_EQ(controls->Item("about")->Index(), 1);
  EXPECT_EQ(raised([&] { controls->Add(office::msoControlButton, Variant(), Variant(), 11); }).number(),
            automation::vbErrInvalidProcedureCall);
}

}  // namespace
