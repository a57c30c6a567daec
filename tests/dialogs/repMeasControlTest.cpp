#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "DialogTesting.h"
#include "forms/User.h"
#include "support/ErrorOf.h"
#include "support/MessageCheck.h"

namespace {

using automation::Date;
using automation::DispatchArgs;
using automation::DispatchKind;
using automation::Variant;
using dialogstest::focusedName;
using dialogstest::texts;
using forms::User;
using testing::ElementsAre;
using zel::repMeasControl;
using testsupport::expectMessage;
using testsupport::errorOf;

// What a person types: interval and duration as hours, minutes, seconds; a number switches to
// number mode (the duration boxes are then out of reach).
struct Entry {
  std::array<const char*, 3> interval{"", "", ""};
  std::array<const char*, 3> duration{"", "", ""};
  const char* number = nullptr;
};

void enter(repMeasControl& c, const Entry& e) {
  User user;
  const std::array<forms::TextBox*, 3> interval{&c.intervalHours, &c.intervalMinutes, &c.intervalSeconds};
  const std::array<forms::TextBox*, 3> duration{&c.durationHours, &c.durationMinutes, &c.durationSeconds};
  for (size_t i = 0; i < 3; ++i) user.type(*interval[i], e.interval[i]);
  if (e.number) {
    user.choose(c.numOfSamplesOptionBtn);
    user.type(c.numOfSamplesValue, e.number);
  } else {
    for (size_t i = 0; i < 3; ++i) user.type(*duration[i], e.duration[i]);
  }
}

class ScheduleControlTest : public dialogstest::DialogTest {
 protected:
  repMeasControl c;
  User user;
  std::vector<std::string> durationBoxes() {
    return texts({&c.durationHours, &c.durationMinutes, &c.durationSeconds, &c.numOfSamplesValue});
  }
};

TEST_F(ScheduleControlTest, EachCheckShowsItsMessageFocusesItsBoxAndFails) {
  struct Case {
    Entry entry;
    bool critical;  // the stop icon and the title "Error"; otherwise no icon and no title
    std::string focus;
    std::string message;
  };
  const std::string zero = "The Interval must be a number greater than 0";
  const Case cases[] = {
      {{{"24", "", "5"}}, true, "intervalHours", "Interval hours must be a value between 0 and 23"},
      {{{"", "60", "5"}}, true, "intervalMinutes", "Interval minutes must be a value between 0 and 59"},
      {{{"1", "0", "60"}}, true, "intervalSeconds", "Interval seconds must be a value between 0 and 59"},
      {{{"0", "0", "0"}, {"0", "60", "0"}}, false, "intervalSeconds", zero},
      {{{"", "", "5"}, {"24", "0", "0"}}, false, "durationHours", "Duration hours must be a value between 0 and 23"},
      {{{"", "", "5"}, {"0", "0", "x"}}, false, "durationSeconds", "Duration seconds must be a value between 0 and 59"},
      {{{"", "", "5"}, {"0", "0", "0"}}, false, "durationSeconds", zero},
      {{{"", "", "5"}, {"0", "0", "4"}}, true, "durationHours",
       "The specified duration must exceed the specified interval"},
      {{{"", "", "1"}, {"0", "8", "21"}}, true, "durationHours",
       "The specified duration would cause number of measurements to exceed 500"},
      {{{"", "", "1"}, {}, "0"}, false, "numOfSamplesValue", "Number of Samples must be a number > 0"},
      {{{"", "", "1"}, {}, "501"}, true, "numOfSamplesValue", "The number of measurements cannot exceed 500"},
      {{{"", "60", ""}, {}, "5"}, true, "intervalMinutes", "Interval minutes must be a value between 0 and 59"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.message + " / " + k.focus);
    repMeasControl control;
    enter(control, k.entry);
    desk.onMessage(k.message);
    control.intervalHours.SetFocus();
    EXPECT_FALSE(control.ValidateData());
    EXPECT_EQ(focusedName(control), k.focus);
    const auto& shown = desk.messages().back();
    expectMessage(shown, k.message, k.critical ? "critical" : "", k.critical ? "Error" : "ZELControlProj");
    EXPECT_EQ(control.intervalSeconds.Text(), k.entry.interval[2]) << "left as typed";
  }
  EXPECT_EQ(desk.messages().size(), std::size(cases)) << "one message a check";
  desk.verify();
}

TEST_F(ScheduleControlTest, CountsMeasurementsFromTheDurationRoundingHalvesToEven) {
  const std::pair<Entry, int32_t> cases[] = {
      {{{"", "", "4"}, {"0", "0", "10"}}, 2}, {{{"", "", "4"}, {"0", "0", "14"}}, 4},
      {{{"", "", "4"}, {"0", "0", "4"}}, 1},  {{{"", "", "1"}, {"0", "8", "20"}}, 500},
      {{{"", "", "7"}, {"", "1", ""}}, 9},    {{{"", "", "2.5"}, {"0", "0", "9"}}, 4},
      {{{"1", "", ""}, {}, "500"}, 500},
  };
  for (const auto& [entry, expected] : cases) {
    repMeasControl control;
    enter(control, entry);
    EXPECT_EQ(control.numOfSamples(), expected);
    EXPECT_EQ(control.SamplesSpecifiedByDuration(), entry.number == nullptr);
    EXPECT_TRUE(control.ValidateData());
  }
}

TEST_F(ScheduleControlTest, WritesSecondsAsHoursMinutesSecondsAndSwitchingModesStartsAfresh) {
  const std::pair<double, std::vector<std::string>> splits[] = {
      {3725, {"1", "2", "5"}}, {2.5, {"0", "0", "2"}}, {3.5, {"0", "0", "4"}}, {86400, {"24", "0", "0"}}};
  for (const auto& [seconds, boxes] : splits) {
    c.setInterval(seconds);
    EXPECT_EQ(texts({&c.intervalHours, &c.intervalMinutes, &c.intervalSeconds}), boxes) << seconds;
  }
  c.setNumOfSamples(37);
  EXPECT_THAT(durationBoxes(), ElementsAre("", "", "", "37"));
  EXPECT_FALSE(c.durationHours.Enabled());
  c.setDuration(7384);
  EXPECT_THAT(durationBoxes(), ElementsAre("2", "3", "4", ""));
  EXPECT_FALSE(c.numOfSamplesValue.Enabled());

  user.choose(c.numOfSamplesOptionBtn);
  EXPECT_THAT(durationBoxes(), ElementsAre("", "", "", "1"));
  user.type(c.numOfSamplesValue, "12");
  user.choose(c.durationOptionButton);
  EXPECT_THAT(durationBoxes(), ElementsAre("0", "0", "1", ""));
}

TEST_F(ScheduleControlTest, StartsAtASetTimeOnlyWhenItIsAheadOfInitToTheMinute) {
  const Date later = Date::fromParts(2026, 12, 31, 23, 45, 30);
  c.setNumOfSamples(2);
  c.setInterval(10);
  c.Init(false, later);
  EXPECT_TRUE(c.atSetTime.Value());
  bool immed = true;
  Date start;
  c.GetStartTime(immed, start);
  EXPECT_FALSE(immed);
  EXPECT_EQ(start, Date::fromParts(2026, 12, 31, 23, 45, 0));
  clock.advance(std::chrono::hours(24 * 30));
  EXPECT_TRUE(c.ValidateData()) << "the past is judged from the moment of Init";

  // Passed (from the last day of a long month to February) or immediate: the current moment.
  for (bool immediate : {false, true}) {
    clock.set(Date::fromParts(2027, 2, 28, 4, 7, 9));
    c.Init(immediate, immediate ? Date::fromParts(2027, 2, 28, 4, 7, 50) : Date::fromParts(2027, 1, 31, 23, 59, 0));
    EXPECT_TRUE(c.immediateOption.Value());
    EXPECT_FALSE(c.startDate.Enabled());
    EXPECT_EQ(c.startDate.Value().parts().month, 2);
    EXPECT_EQ(c.startDate.Value().parts().day, 28);
    EXPECT_EQ(c.startTime.Hour() * 100 + c.startTime.Minute(), 407);
  }

  // The minute Init ran in is past unless Init ran at its second 0.
  const std::string past = "You can not choose a set time in the past";
  desk.onMessage(past);
  clock.set(dialogstest::morning());  // 08:16:18
  c.Init(false, Date::fromParts(2026, 12, 4, 8, 17, 0));
  user.pick(c.startTime, Date::fromParts(2026, 12, 4, 8, 16, 59));
  EXPECT_FALSE(c.ValidateData());
  expectMessage(desk.messages().at(0), past, "critical", "Error");
  EXPECT_EQ(focusedName(c), "startDate");
  clock.set(Date::fromParts(2026, 12, 4, 8, 16, 0));
  c.Init(false, Date::fromParts(2026, 12, 4, 8, 17, 0));
  user.pick(c.startTime, Date::fromParts(2026, 12, 4, 8, 16, 0));
  EXPECT_TRUE(c.ValidateData());
  desk.verify();
}

TEST_F(ScheduleControlTest, BothRegisteredFacesAnswerByTheirOwnDispatchIds) {
  struct Face {
    const char* progId;
    int32_t getStartTime, validateData, init, foreignInit;
  };
  for (const Face& f : {Face{"ZELControlProj.repMeasControl", 0x60030008, 0x6003000F, 0x60030015, 0x6003001D},
                        Face{"KroRepeatedMeasure.RepeatMeasurement", 0x60030010, 0x60030017, 0x6003001D, 0x60030015}}) {
    SCOPED_TRACE(f.progId);
    const automation::ObjectPtr object = automation::CreateObject(f.progId);
    object->invoke(0x68030002, DispatchKind::PropertyPut, {Variant(int32_t{3})});
    object->invoke(0x68030001, DispatchKind::PropertyPut, {Variant(int32_t{100})});
    object->invoke(0x68030003, DispatchKind::PropertyPut, {Variant(20.0)});
    object->invoke(f.init, DispatchKind::Method, {Variant(false), Variant(Date::fromParts(2026, 12, 5, 9, 30, 0))});
    EXPECT_EQ(object->invoke(f.validateData, DispatchKind::Method), Variant(true));
    EXPECT_EQ(object->invoke(0x68030002, DispatchKind::PropertyGet), Variant(int32_t{5}));
    EXPECT_EQ(object->invoke(0x68030000, DispatchKind::PropertyGet), Variant(true));
    DispatchArgs start{Variant(true), Variant("kept")};
    object->invoke(f.getStartTime, DispatchKind::Method, start);
    EXPECT_THAT(start, ElementsAre(Variant(false), Variant(Date::fromParts(2026, 12, 5, 9, 30, 0))));
    EXPECT_EQ(errorOf([&] { object->invoke(f.foreignInit, DispatchKind::Method, {Variant(true), Variant()}); }), 438);
  }
  EXPECT_EQ(registry.findClass("{69A30025-E374-421E-B454-08E6145A92E6}")->progId, "ZELControlProj.repMeasControl");
}

}  // namespace
