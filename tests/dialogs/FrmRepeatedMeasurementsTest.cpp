#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTesting.h"
#include "automation/Error.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/repMeasControl.h"
#include "forms/User.h"

namespace {

using automation::Date;
using dialogstest::expectOkMessage;
using dialogstest::morning;
using forms::User;
using testing::ElementsAre;
using zel::FrmRepeatedMeasurements;
using zel::repMeasControl;

repMeasControl& scheduleOf(FrmRepeatedMeasurements& form) { return dynamic_cast<repMeasControl&>(*form.schedule()); }

std::vector<std::string> boxes(forms::TextBox& h, forms::TextBox& m, forms::TextBox& s) {
  return {h.Text(), m.Text(), s.Text()};
}

class RepeatedMeasurementsTest : public dialogstest::DialogTest {
 protected:
  // The dialog as an opener sets it up.
  void open(FrmRepeatedMeasurements& form, int32_t numSamples, int32_t interval, bool byDuration, int32_t duration,
            bool immediately, Date startDate) {
    form.m_numSamples = numSamples;
    form.m_interval = interval;
    form.m_SamplesSpecifiedAsDuration = byDuration;
    form.m_duration = duration;
    form.m_immediately = immediately;
    form.m_startDate = startDate;
    form.Init();
  }
  const Date kept = Date::fromParts(2026, 11, 30, 7, 0, 45);
};

TEST_F(RepeatedMeasurementsTest, HostsTheScheduleControlByItsProgIdBehindItsButtonsInTabOrder) {
  FrmRepeatedMeasurements form;
  EXPECT_EQ(form.Caption(), "Repeated Measurements");
  EXPECT_EQ(form.ScaleWidth(), 4515);
  EXPECT_EQ(form.ScaleHeight(), 3525);
  EXPECT_EQ(form.repMeasControl1.progId(), "KroRepeatedMeasure.RepeatMeasurement");
  EXPECT_EQ(form.schedule()->typeName(), "RepeatMeasurement");
  EXPECT_TRUE(form.okButton.Default());
  EXPECT_TRUE(form.cancelButton.Cancel());
  std::vector<std::string> order;
  for (const forms::Control* c : form.tabOrder()) order.push_back(c->Name());
  ASSERT_GE(order.size(), 3u);
  EXPECT_THAT(std::vector<std::string>(order.begin(), order.begin() + 3),
              ElementsAre("okButton", "cancelButton", "immediateOption"));
  EXPECT_EQ(order.back(), "numOfSamplesValue");

  registry.unregisterClass("KroRepeatedMeasure.RepeatMeasurement");
  try {
    FrmRepeatedMeasurements without;
    ADD_FAILURE() << "the dialog came up without its schedule control";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 429);
  }
}

TEST_F(RepeatedMeasurementsTest, OkHandsBackACountGivenAsANumberAndKeepsTheDuration) {
  FrmRepeatedMeasurements form;
  open(form, 7, 3725, false, 99, true, kept);
  desk.onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
    repMeasControl& s = scheduleOf(f);
    EXPECT_FALSE(f.m_okSelected) << "loading clears it";
    EXPECT_TRUE(s.numOfSamplesOptionBtn.Value());
    EXPECT_EQ(s.numOfSamplesValue.Text(), "7");
    EXPECT_THAT(boxes(s.intervalHours, s.intervalMinutes, s.intervalSeconds), ElementsAre("1", "2", "5"));
    EXPECT_THAT(boxes(s.durationHours, s.durationMinutes, s.durationSeconds), ElementsAre("", "", ""));
    EXPECT_TRUE(s.immediateOption.Value());
    EXPECT_FALSE(s.startDate.Enabled());
    EXPECT_EQ(s.startTime.Minute(), 16) << "the pickers show the current moment";
    user.type(s.numOfSamplesValue, "12");
    user.pressEnter();
  });
  form.Show(forms::vbModal);
  EXPECT_TRUE(form.m_okSelected);
  EXPECT_TRUE(form.isLoaded()) << "OK hides the dialog; its opener still reads it";
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.m_numSamples, 12);
  EXPECT_EQ(form.m_interval, 3725);
  EXPECT_FALSE(form.m_SamplesSpecifiedAsDuration);
  EXPECT_EQ(form.m_duration, 99);
  EXPECT_TRUE(form.m_immediately);
  EXPECT_EQ(form.m_startDate, kept) << "an immediate start leaves the start date";
  desk.verify();
}

TEST_F(RepeatedMeasurementsTest, OkHandsBackTheCountDerivedFromADurationAndTheSetTime) {
  FrmRepeatedMeasurements form;
  open(form, 1, 4, true, 14, false, Date::fromParts(2026, 12, 4, 9, 30, 25));
  desk.onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
    repMeasControl& s = scheduleOf(f);
    EXPECT_TRUE(s.durationOptionButton.Value());
    EXPECT_EQ(s.numOfSamplesValue.Text(), "");
    EXPECT_THAT(boxes(s.durationHours, s.durationMinutes, s.durationSeconds), ElementsAre("0", "0", "14"));
    EXPECT_THAT(boxes(s.intervalHours, s.intervalMinutes, s.intervalSeconds), ElementsAre("0", "0", "4"));
    EXPECT_TRUE(s.atSetTime.Value());
    EXPECT_EQ(s.startTime.Hour(), 9);
    EXPECT_EQ(s.startTime.Minute(), 30);
    user.click(f.okButton);
  });
  form.Show(forms::vbModal);
  ASSERT_TRUE(form.m_okSelected);
  EXPECT_EQ(form.m_numSamples, 4) << "14 s / 4 s = 3.5 rounds to 4";
  EXPECT_EQ(form.m_interval, 4);
  EXPECT_TRUE(form.m_SamplesSpecifiedAsDuration);
  EXPECT_EQ(form.m_duration, 14);
  EXPECT_FALSE(form.m_immediately);
  EXPECT_EQ(form.m_startDate, Date::fromParts(2026, 12, 4, 9, 30, 0));
  desk.verify();
}

TEST_F(RepeatedMeasurementsTest, ASetTimeThatHasPassedOpensAsImmediately) {
  FrmRepeatedMeasurements form;
  open(form, 3, 60, false, 0, false, Date::fromParts(2026, 12, 4, 8, 16, 17));
  desk.onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
    EXPECT_TRUE(scheduleOf(f).immediateOption.Value());
    user.pressEnter();
  });
  form.Show(forms::vbModal);
  EXPECT_TRUE(form.m_immediately);
  desk.verify();
}

TEST_F(RepeatedMeasurementsTest, InvalidInputKeepsTheDialogOpenUntilCorrected) {
  FrmRepeatedMeasurements form;
  open(form, 5, 10, false, 0, true, kept);
  desk.onForm<FrmRepeatedMeasurements>([this](FrmRepeatedMeasurements& f, User& user) {
        repMeasControl& s = scheduleOf(f);
        user.type(s.intervalSeconds, "60");
        user.pressEnter();
        EXPECT_TRUE(f.Visible());
        EXPECT_FALSE(f.m_okSelected);
        ASSERT_EQ(desk.messages().size(), 1u);
        expectOkMessage(desk.messages()[0], "Interval seconds must be a value between 0 and 59", "critical", "Error");
        EXPECT_EQ(f.ActiveControl(), &s.intervalSeconds);
        EXPECT_EQ(s.intervalSeconds.Text(), "60");
        user.type(s.intervalSeconds, "6");
        user.pressEnter();
      })
      .onMessage("Interval seconds");
  form.Show(forms::vbModal);
  EXPECT_TRUE(form.m_okSelected);
  EXPECT_EQ(form.m_interval, 6);
  EXPECT_EQ(desk.focusMoves().back(), "FrmRepeatedMeasurements.repMeasControl1.intervalSeconds");
  desk.verify();
}

TEST_F(RepeatedMeasurementsTest, CancelEscapeAndTheWindowFrameHandNothingBack) {
  const std::vector<std::function<void(FrmRepeatedMeasurements&, User&)>> leave = {
      [](FrmRepeatedMeasurements& f, User& user) { user.click(f.cancelButton); },
      [](FrmRepeatedMeasurements&, User& user) { user.pressEscape(); },
      [](FrmRepeatedMeasurements&, User& user) { user.closeWindow(); },
  };
  for (size_t i = 0; i < leave.size(); ++i) {
    SCOPED_TRACE(i);
    FrmRepeatedMeasurements form;
    open(form, 2, 30, false, 77, true, kept);
    desk.onForm<FrmRepeatedMeasurements>([&](FrmRepeatedMeasurements& f, User& user) {
      repMeasControl& s = scheduleOf(f);
      user.choose(s.durationOptionButton);
      user.type(s.durationMinutes, "5");
      leave[i](f, user);
    });
    form.Show(forms::vbModal);
    EXPECT_FALSE(form.m_okSelected);
    EXPECT_EQ(form.m_numSamples, 2);
    EXPECT_EQ(form.m_interval, 30);
    EXPECT_FALSE(form.m_SamplesSpecifiedAsDuration);
    EXPECT_EQ(form.m_duration, 77);
  }
  desk.verify();
}

}  // namespace
