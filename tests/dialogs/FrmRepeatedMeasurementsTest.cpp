#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogTesting.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/repMeasControl.h"
#include "forms/User.h"
#include "support/ErrorOf.h"
#include "support/MessageCheck.h"

namespace {

using automation::Date;
using dialogstest::texts;
using forms::User;
using testing::ElementsAre;
using zel::FrmRepeatedMeasurements;
using zel::repMeasControl;
using testsupport::errorOf;
using testsupport::expectMessage;

repMeasControl& scheduleOf(FrmRepeatedMeasurements& form) { return dynamic_cast<repMeasControl&>(*form.schedule()); }

class RepeatedMeasurementsTest : public dialogstest::DialogTest {
 protected:
  // Sets the dialog up as its opener does.
  void open(int32_t numSamples, int32_t interval, bool byDuration, int32_t duration, bool immediately, Date start) {
    form.m_numSamples = numSamples;
    form.m_interval = interval;
    form.m_SamplesSpecifiedAsDuration = byDuration;
    form.m_duration = duration;
    form.m_immediately = immediately;
    form.m_startDate = start;
    form.Init();
  }
  FrmRepeatedMeasurements form;
};

TEST_F(RepeatedMeasurementsTest, AnInvalidScheduleKeepsTheDialogOpenUntilCorrectedThenOkHandsItBack) {
  const Date passed = Date::fromParts(2026, 12, 4, 8, 16, 17);
  open(7, 3725, false, 99, false, passed);
  desk.onForm<FrmRepeatedMeasurements>([this](FrmRepeatedMeasurements& f, User& user) {
        repMeasControl& s = scheduleOf(f);
        EXPECT_THAT(
            texts({&s.intervalHours, &s.intervalMinutes, &s.intervalSeconds, &s.durationHours, &s.numOfSamplesValue}),
            ElementsAre("1", "2", "5", "", "7"));
        EXPECT_TRUE(s.immediateOption.Value()) << "a set time that has passed opens as immediate";
        user.type(s.intervalSeconds, "60");
        user.type(s.numOfSamplesValue, "12");
        user.pressEnter();
        EXPECT_TRUE(f.Visible());
        EXPECT_FALSE(f.m_okSelected);
        expectMessage(desk.messages().at(0), "Interval seconds must be a value between 0 and 59", "critical",
                        "Error");
        EXPECT_EQ(f.ActiveControl(), &s.intervalSeconds);
        user.type(s.intervalSeconds, "6");
        user.pressEnter();
      })
      .onMessage("Interval seconds");
  form.Show(forms::vbModal);
  EXPECT_TRUE(form.m_okSelected);
  EXPECT_TRUE(form.isLoaded()) << "OK only hides the dialog";
  EXPECT_EQ(form.m_numSamples, 12);
  EXPECT_EQ(form.m_interval, 3726);
  EXPECT_FALSE(form.m_SamplesSpecifiedAsDuration);
  EXPECT_EQ(form.m_duration, 99) << "a count given as a number hands back no duration";
  EXPECT_TRUE(form.m_immediately);
  EXPECT_EQ(form.m_startDate, passed);
  EXPECT_EQ(desk.focusMoves().at(0), "FrmRepeatedMeasurements.okButton");
  desk.verify();
}

TEST_F(RepeatedMeasurementsTest, ADurationOpensInDurationModeAndHandsBackTheDerivedCount) {
  open(1, 4, true, 14, false, Date::fromParts(2026, 12, 4, 9, 30, 25));
  desk.onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
    repMeasControl& s = scheduleOf(f);
    EXPECT_THAT(texts({&s.durationHours, &s.durationMinutes, &s.durationSeconds, &s.numOfSamplesValue}),
                ElementsAre("0", "0", "14", ""));
    EXPECT_TRUE(s.atSetTime.Value());
    user.click(f.okButton);
  });
  form.Show(forms::vbModal);
  EXPECT_EQ(form.m_numSamples, 4) << "14 s / 4 s = 3.5";
  EXPECT_EQ(form.m_interval, 4);
  EXPECT_TRUE(form.m_SamplesSpecifiedAsDuration);
  EXPECT_EQ(form.m_duration, 14);
  EXPECT_FALSE(form.m_immediately);
  EXPECT_EQ(form.m_startDate, Date::fromParts(2026, 12, 4, 9, 30, 0));
  desk.verify();
}

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
      user.type(scheduleOf(f).numOfSamplesValue, "5");
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
