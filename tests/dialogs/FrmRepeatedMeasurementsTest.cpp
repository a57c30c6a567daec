// Repeated Measurements left without OK hands nothing back.
#include <gtest/gtest.h>

#include <functional>

#include "DialogTesting.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/repMeasControl.h"
#include "forms/User.h"
#include "support/ErrorOf.h"

namespace {

using forms::User;
using testsupport::errorOf;
using zel::FrmRepeatedMeasurements;

using RepeatedMeasurementsTest = dialogstest::DialogTest;

TEST_F(RepeatedMeasurementsTest, CancelEscapeAndTheWindowFrameHandNothingBack) {
  const std::function<void(FrmRepeatedMeasurements&, User&)> leave[] = {
      [](FrmRepeatedMeasurements& f, User& user) { user.click(f.cancelButton); },
      [](FrmRepeatedMeasurements&, User& user) { user.pressEscape(); },
      [](FrmRepeatedMeasurements&, User& user) { user.closeWindow(); },
  };
  for (const auto& how : leave) {
    FrmRepeatedMeasurements dialog;
    dialog.m_numSamples = 2;
    dialog.Init();
    desk.onForm<FrmRepeatedMeasurements>([&](FrmRepeatedMeasurements& f, User& user) {
      user.type(dynamic_cast<zel::repMeasControl&>(*f.schedule()).numOfSamplesValue, "5");
      how(f, user);
    });
    dialog.Show(forms::vbModal);
    EXPECT_FALSE(dialog.m_okSelected);
    EXPECT_EQ(dialog.m_numSamples, 2);
  }
  desk.verify();

  registry.unregisterClass("KroRepeatedMeasure.RepeatMeasurement");
  EXPECT_EQ(errorOf([] { FrmRepeatedMeasurements without; }), 429);
}

}  // namespace
