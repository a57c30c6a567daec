#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogTesting.h"
#include "automation/Error.h"
#include "dialogs/repMeasControl.h"
#include "forms/User.h"

namespace {

using automation::Date;
using automation::DispatchArgs;
using automation::DispatchKind;
using automation::Variant;
using dialogstest::expectOkMessage;
using dialogstest::focusedName;
using dialogstest::morning;
using forms::User;
using testing::ElementsAre;
using zel::RepeatMeasurement;
using zel::repMeasControl;

constexpr int32_t kRejected = static_cast<int32_t>(0x80040005u);
const std::string kApp = "ZELControlProj";

// What a person types into the boxes.
void fillInterval(repMeasControl& c, const char* h, const char* m, const char* s) {
  User user;
  user.type(c.intervalHours, h);
  user.type(c.intervalMinutes, m);
  user.type(c.intervalSeconds, s);
}
void fillDuration(repMeasControl& c, const char* h, const char* m, const char* s) {
  User user;
  user.type(c.durationHours, h);
  user.type(c.durationMinutes, m);
  user.type(c.durationSeconds, s);
}
void numberMode(repMeasControl& c, const char* n) {
  User user;
  user.choose(c.numOfSamplesOptionBtn);
  user.type(c.numOfSamplesValue, n);
}

// Every box's text, top to bottom.
std::vector<std::string> allText(const repMeasControl& c) {
  std::vector<std::string> out;
  for (const forms::TextBox* box : {&c.intervalHours, &c.intervalMinutes, &c.intervalSeconds, &c.durationHours,
                                    &c.durationMinutes, &c.durationSeconds, &c.numOfSamplesValue})
    out.push_back(box->Text());
  return out;
}

// The failure number a member ends with; 0 when it returns.
template <class F>
int32_t failureOf(F&& call) {
  try {
    call();
  } catch (const automation::Error& e) {
    return e.number();
  }
  return 0;
}

class ScheduleControlTest : public dialogstest::DialogTest {
 protected:
  repMeasControl c;
  User user;
};

std::vector<std::string> names(const std::vector<forms::Control*>& controls) {
  std::vector<std::string> out;
  for (const forms::Control* c : controls) out.push_back(c->Name());
  return out;
}

TEST_F(ScheduleControlTest, StartsAsDesignedWithTwoOptionGroupsAndItsTabOrder) {
  EXPECT_TRUE(c.immediateOption.Value());
  EXPECT_FALSE(c.atSetTime.Value());
  EXPECT_TRUE(c.durationOptionButton.Value());
  EXPECT_FALSE(c.numOfSamplesOptionBtn.Value());
  EXPECT_TRUE(c.SamplesSpecifiedByDuration());
  for (forms::TextBox* box : {&c.intervalHours, &c.intervalMinutes, &c.intervalSeconds, &c.durationHours,
                              &c.durationMinutes, &c.durationSeconds, &c.numOfSamplesValue})
    EXPECT_EQ(box->Text(), "") << box->Name();
  EXPECT_FALSE(c.numOfSamplesValue.Enabled());
  EXPECT_TRUE(c.durationHours.Enabled());

  EXPECT_THAT(names(c.tabOrder()),
              ElementsAre("immediateOption", "atSetTime", "startDate", "startTime", "intervalHours", "intervalMinutes",
                          "intervalSeconds", "durationOptionButton", "durationHours", "durationMinutes",
                          "durationSeconds", "numOfSamplesOptionBtn", "numOfSamplesValue"));
  // The frame's two buttons and the two on the control are separate groups: choosing a mode
  // leaves the start alone.
  user.choose(c.atSetTime);
  user.choose(c.numOfSamplesOptionBtn);
  EXPECT_TRUE(c.atSetTime.Value());
  EXPECT_FALSE(c.immediateOption.Value());
  EXPECT_TRUE(c.numOfSamplesOptionBtn.Value());
  EXPECT_FALSE(c.durationOptionButton.Value());
}

TEST(ScheduleBoxText, ConvertsLikeTheLocaleAwareLongConversion) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"", 0},
      {"7", 7},
      {" 12 ", 12},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"1,000", 1000},
      {"1e2", 100},
      {"2147483647", 2147483647},
      {"2147483648", -1},
      {"abc", -1},
      {"5 s", -1},
      {" ", -1},
      {"1.2.3", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(repMeasControl::textToLong(c.text), c.expected) << '"' << c.text << '"';
}

TEST_F(ScheduleControlTest, EachCheckRejectsWithItsMessageStyleAndFocusAndKeepsTheText) {
  struct Case {
    const char* what;
    std::function<void(repMeasControl&)> enter;
    std::function<void(repMeasControl&)> read;
    std::string message;
    std::string icon;
    std::string title;
    std::string focus;
  };
  const auto interval = [](repMeasControl& c) { c.interval(); };
  const auto duration = [](repMeasControl& c) { c.Duration(); };
  const auto count = [](repMeasControl& c) { c.numOfSamples(); };
  const std::string hours = "Interval hours must be a value between 0 and 23";
  const std::string samples = "Number of Samples must be a number > 0";
  const std::string zero = "The Interval must be a number greater than 0";
  const std::vector<Case> cases = {
      {"interval hours 24", [](auto& c) { fillInterval(c, "24", "", "5"); }, interval, hours, "critical", "Error",
       "intervalHours"},
      {"interval hours as text", [](auto& c) { fillInterval(c, "one", "", "5"); }, interval, hours, "critical", "Error",
       "intervalHours"},
      {"interval minutes 60", [](auto& c) { fillInterval(c, "", "60", "5"); }, interval,
       "Interval minutes must be a value between 0 and 59", "critical", "Error", "intervalMinutes"},
      {"interval seconds 60", [](auto& c) { fillInterval(c, "1", "0", "60"); }, interval,
       "Interval seconds must be a value between 0 and 59", "critical", "Error", "intervalSeconds"},
      {"interval seconds negative", [](auto& c) { fillInterval(c, "", "", "-3"); }, interval,
       "Interval seconds must be a value between 0 and 59", "critical", "Error", "intervalSeconds"},
      {"hours are read before minutes", [](auto& c) { fillInterval(c, "24", "60", "60"); }, interval, hours, "critical",
       "Error", "intervalHours"},
      {"empty interval", [](auto&) {}, interval, zero, "", kApp, "intervalSeconds"},
      {"zero interval", [](auto& c) { fillInterval(c, "0", "0", "0"); }, interval, zero, "", kApp, "intervalSeconds"},
      {"duration hours 24",
       [](auto& c) {
         fillInterval(c, "", "", "5");
         fillDuration(c, "24", "0", "0");
       },
       duration, "Duration hours must be a value between 0 and 23", "", kApp, "durationHours"},
      {"duration minutes 60",
       [](auto& c) {
         fillInterval(c, "", "", "5");
         fillDuration(c, "0", "60", "0");
       },
       duration, "Duration minutes must be a value between 0 and 59", "", kApp, "durationMinutes"},
      {"duration seconds as text",
       [](auto& c) {
         fillInterval(c, "", "", "5");
         fillDuration(c, "0", "0", "x");
       },
       duration, "Duration seconds must be a value between 0 and 59", "", kApp, "durationSeconds"},
      {"zero duration",
       [](auto& c) {
         fillInterval(c, "", "", "5");
         fillDuration(c, "0", "0", "0");
       },
       duration, zero, "", kApp, "durationSeconds"},
      {"number 0", [](auto& c) { numberMode(c, "0"); }, count, samples, "", kApp, "numOfSamplesValue"},
      {"number as letters", [](auto& c) { numberMode(c, "ten"); }, count, samples, "", kApp, "numOfSamplesValue"},
      {"number beyond a long", [](auto& c) { numberMode(c, "3000000000"); }, count, samples, "", kApp,
       "numOfSamplesValue"},
      {"number 501", [](auto& c) { numberMode(c, "501"); }, count, "The number of measurements cannot exceed 500",
       "critical", "Error", "numOfSamplesValue"},
      {"duration shorter than the interval",
       [](auto& c) {
         fillInterval(c, "", "", "5");
         fillDuration(c, "0", "0", "4");
       },
       count, "The specified duration must exceed the specified interval", "critical", "Error", "durationHours"},
      {"duration of 501 intervals",
       [](auto& c) {
         fillInterval(c, "", "", "1");
         fillDuration(c, "0", "8", "21");
       },
       count, "The specified duration would cause number of measurements to exceed 500", "critical", "Error",
       "durationHours"},
      {"duration mode reads the interval first",
       [](auto& c) {
         fillInterval(c, "", "", "");
         fillDuration(c, "0", "60", "0");
       },
       count, zero, "", kApp, "intervalSeconds"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    forms::ScriptedDesktop caseDesk;
    forms::ScopedDesktop use(caseDesk);
    repMeasControl control;
    k.enter(control);
    const std::vector<std::string> typed = allText(control);
    caseDesk.onMessage(k.message);
    EXPECT_EQ(failureOf([&] { k.read(control); }), kRejected);
    ASSERT_EQ(caseDesk.messages().size(), 1u);
    expectOkMessage(caseDesk.messages()[0], k.message, k.icon, k.title);
    EXPECT_EQ(focusedName(control), k.focus);
    EXPECT_EQ(allText(control), typed);
    // Validation meets the same check, shows it once more and answers False.
    caseDesk.onMessage(k.message);
    EXPECT_FALSE(control.ValidateData());
    EXPECT_EQ(caseDesk.messages().size(), 2u);
    caseDesk.verify();
  }
}

TEST_F(ScheduleControlTest, CountsMeasurementsFromDurationAndIntervalRoundingHalvesToEven) {
  struct Case {
    const char* interval;  // seconds box
    const char* minutes;   // duration minutes box
    const char* seconds;   // duration seconds box
    int32_t expected;
  };
  const Case cases[] = {
      {"4", "0", "10", 2},                        // 2.5
      {"4", "0", "14", 4},                        // 3.5
      {"4", "0", "4", 1},                         // a duration equal to the interval
      {"1", "8", "20", 500}, {"7", "1", "0", 9},  // 8.57
      {"2.5", "0", "9", 4},                       // the box's 2.5 reads as 2
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.interval) + " s in " + k.minutes + " min " + k.seconds + " s");
    repMeasControl control;
    fillInterval(control, "", "", k.interval);
    fillDuration(control, "", k.minutes, k.seconds);
    EXPECT_EQ(control.numOfSamples(), k.expected);
    EXPECT_TRUE(control.SamplesSpecifiedByDuration());
  }

  numberMode(c, "500");
  fillInterval(c, "1", "", "");
  EXPECT_EQ(c.numOfSamples(), 500);
  EXPECT_EQ(c.interval(), 3600.0) << "boxes left empty count as 0";
  EXPECT_FALSE(c.SamplesSpecifiedByDuration());
  EXPECT_TRUE(c.ValidateData());
  desk.verify();
}

TEST_F(ScheduleControlTest, WritesSecondsAsHoursMinutesAndSecondsAndSwitchesModes) {
  struct Case {
    double seconds;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {3725, {"1", "2", "5"}}, {59, {"0", "0", "59"}}, {60, {"0", "1", "0"}},
      {2.5, {"0", "0", "2"}},  {3.5, {"0", "0", "4"}}, {86400, {"24", "0", "0"}},
  };
  for (const Case& k : cases) {
    c.setInterval(k.seconds);
    EXPECT_THAT((std::vector<std::string>{c.intervalHours.Text(), c.intervalMinutes.Text(), c.intervalSeconds.Text()}),
                testing::ElementsAreArray(k.boxes))
        << k.seconds;
  }
  // A day or more fits no box: reading it back is refused.
  desk.onMessage("Interval hours must be a value between 0 and 23");
  EXPECT_EQ(failureOf([&] { c.interval(); }), kRejected);

  c.setNumOfSamples(37);
  EXPECT_TRUE(c.numOfSamplesOptionBtn.Value());
  EXPECT_EQ(c.numOfSamplesValue.Text(), "37");
  EXPECT_TRUE(c.numOfSamplesValue.Enabled());
  for (forms::TextBox* box : {&c.durationHours, &c.durationMinutes, &c.durationSeconds}) {
    EXPECT_EQ(box->Text(), "");
    EXPECT_FALSE(box->Enabled());
  }

  c.setDuration(7384);
  EXPECT_TRUE(c.durationOptionButton.Value());
  EXPECT_FALSE(c.numOfSamplesOptionBtn.Value());
  EXPECT_EQ(c.numOfSamplesValue.Text(), "");
  EXPECT_FALSE(c.numOfSamplesValue.Enabled());
  EXPECT_THAT((std::vector<std::string>{c.durationHours.Text(), c.durationMinutes.Text(), c.durationSeconds.Text()}),
              ElementsAre("2", "3", "4"));
  EXPECT_EQ(c.Duration(), 7384);

  // The user's switch discards what was typed in the mode left behind.
  user.choose(c.numOfSamplesOptionBtn);
  EXPECT_EQ(c.numOfSamplesValue.Text(), "1");
  EXPECT_EQ(c.durationHours.Text(), "");
  user.type(c.numOfSamplesValue, "12");
  user.choose(c.durationOptionButton);
  EXPECT_THAT((std::vector<std::string>{c.durationHours.Text(), c.durationMinutes.Text(), c.durationSeconds.Text(),
                                        c.numOfSamplesValue.Text()}),
              ElementsAre("0", "0", "1", ""));
  desk.verify();
}

TEST_F(ScheduleControlTest, InitStartsAtASetTimeOnlyWhenItLiesAhead) {
  const Date later = Date::fromParts(2026, 12, 31, 23, 45, 30);
  c.Init(false, later);
  EXPECT_TRUE(c.atSetTime.Value());
  EXPECT_FALSE(c.immediateOption.Value());
  EXPECT_TRUE(c.startDate.Enabled());
  EXPECT_TRUE(c.startTime.Enabled());
  bool immed = true;
  Date start;
  c.GetStartTime(immed, start);
  EXPECT_FALSE(immed);
  EXPECT_EQ(start, Date::fromParts(2026, 12, 31, 23, 45, 0)) << "the pickers carry no seconds";

  // A moment already past, or an immediate start, shows the current moment, pickers disabled.
  for (const auto& [immediate, when] : {std::pair{false, Date::fromParts(2026, 12, 4, 8, 16, 17)},
                                        std::pair{true, Date::fromParts(2027, 2, 28, 6, 0, 0)}}) {
    clock.set(Date::fromParts(2027, 1, 31, 21, 5, 40));
    c.Init(false, later);  // puts the pickers on the last day of December first
    clock.set(Date::fromParts(2027, 2, 28, 4, 7, 9));
    c.Init(immediate, immediate ? when : Date::fromParts(2027, 2, 28, 4, 7, 8));
    EXPECT_TRUE(c.immediateOption.Value());
    EXPECT_FALSE(c.atSetTime.Value());
    EXPECT_FALSE(c.startDate.Enabled());
    EXPECT_FALSE(c.startTime.Enabled());
    EXPECT_EQ(c.startDate.Value().parts().day, 28);
    EXPECT_EQ(c.startDate.Value().parts().month, 2);
    EXPECT_EQ(c.startDate.Value().parts().year, 2027);
    EXPECT_EQ(c.startTime.Hour(), 4);
    EXPECT_EQ(c.startTime.Minute(), 7);
    Date untouched = Date::fromParts(2000, 1, 1);
    c.GetStartTime(immed, untouched);
    EXPECT_TRUE(immed);
    EXPECT_EQ(untouched, Date::fromParts(2000, 1, 1));
  }

  // Init leaves the schedule's boxes alone.
  c.setNumOfSamples(9);
  c.setInterval(30);
  c.Init(true, later);
  EXPECT_EQ(c.numOfSamplesValue.Text(), "9");
  EXPECT_EQ(c.intervalSeconds.Text(), "30");
}

TEST_F(ScheduleControlTest, ASetTimeInTheMinuteOfInitIsPastUnlessInitRanAtSecondZero) {
  const std::string past = "You can not choose a set time in the past";
  c.setNumOfSamples(2);
  c.setInterval(10);

  c.Init(false, Date::fromParts(2026, 12, 4, 8, 17, 0));  // 42 s ahead
  EXPECT_TRUE(c.ValidateData());
  clock.advance(std::chrono::minutes(5));
  EXPECT_TRUE(c.ValidateData()) << "the check compares with the moment of Init, not with the clock";

  // The user picks the minute Init ran in, at 08:16:18.
  clock.set(morning());
  c.Init(false, Date::fromParts(2026, 12, 4, 8, 17, 0));
  user.pick(c.startTime, Date::fromParts(2026, 12, 4, 8, 16, 59));
  desk.onMessage(past);
  EXPECT_FALSE(c.ValidateData());
  ASSERT_EQ(desk.messages().size(), 1u);
  expectOkMessage(desk.messages()[0], past, "critical", "Error");
  EXPECT_EQ(focusedName(c), "startDate");

  clock.set(Date::fromParts(2026, 12, 4, 8, 16, 0));
  c.Init(false, Date::fromParts(2026, 12, 4, 8, 17, 0));
  user.pick(c.startTime, Date::fromParts(2026, 12, 4, 8, 16, 0));
  EXPECT_TRUE(c.ValidateData());

  // An immediate start is never past.
  user.choose(c.immediateOption);
  clock.advance(std::chrono::hours(48));
  EXPECT_TRUE(c.ValidateData());
  desk.verify();
}

TEST_F(ScheduleControlTest, BothFacesAnswerLateBoundCallsByTheirOwnDispatchIds) {
  struct Face {
    const char* progId;
    const char* className;
    int32_t getStartTime, validateData, init;
  };
  const Face faces[] = {
      {"ZELControlProj.repMeasControl", "repMeasControl", 0x60030008, 0x6003000F, 0x60030015},
      {"KroRepeatedMeasure.RepeatMeasurement", "RepeatMeasurement", 0x60030010, 0x60030017, 0x6003001D},
  };
  for (const Face& f : faces) {
    SCOPED_TRACE(f.progId);
    const automation::ObjectPtr object = automation::CreateObject(f.progId);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->typeName(), f.className);
    ASSERT_NE(std::dynamic_pointer_cast<forms::UserControl>(object), nullptr);

    object->invoke(0x68030002, DispatchKind::PropertyPut, {Variant(int32_t{3})});
    object->invoke(0x68030001, DispatchKind::PropertyPut, {Variant(int32_t{100})});
    object->invoke(0x68030003, DispatchKind::PropertyPut, {Variant(20.0)});
    DispatchArgs init{Variant(false), Variant(Date::fromParts(2026, 12, 5, 9, 30, 0))};
    object->invoke(f.init, DispatchKind::Method, init);
    EXPECT_EQ(object->invoke(f.validateData, DispatchKind::Method), Variant(true));
    EXPECT_EQ(object->invoke(0x68030002, DispatchKind::PropertyGet), Variant(int32_t{5}));
    EXPECT_EQ(object->invoke(0x68030003, DispatchKind::PropertyGet), Variant(20.0));
    EXPECT_EQ(object->invoke(0x68030001, DispatchKind::PropertyGet), Variant(int32_t{100}));
    EXPECT_EQ(object->invoke(0x68030000, DispatchKind::PropertyGet), Variant(true));
    DispatchArgs start{Variant(true), Variant()};
    object->invoke(f.getStartTime, DispatchKind::Method, start);
    EXPECT_EQ(start[0], Variant(false));
    EXPECT_EQ(start[1], Variant(Date::fromParts(2026, 12, 5, 9, 30, 0)));

    // An immediate start leaves the caller's date where it was.
    init = {Variant(true), Variant(Date::fromParts(2026, 12, 5, 9, 30, 0))};
    object->invoke(f.init, DispatchKind::Method, init);
    start = {Variant(false), Variant("kept")};
    object->invoke(f.getStartTime, DispatchKind::Method, start);
    EXPECT_EQ(start[0], Variant(true));
    EXPECT_EQ(start[1], Variant("kept"));
  }
  // The other face's method ids are unknown here.
  const automation::ObjectPtr own = automation::CreateObject("ZELControlProj.repMeasControl");
  EXPECT_EQ(failureOf([&] {
              own->invoke(0x6003001D, DispatchKind::Method, {Variant(true), Variant(morning())});
            }),
            438);
  EXPECT_EQ(registry.findClass("{69A30025-E374-421E-B454-08E6145A92E6}")->progId, "ZELControlProj.repMeasControl");
  EXPECT_TRUE(own->supports("{D7FFE1A3-F79D-4C6F-A478-D4CFE8898ACA}"));
  EXPECT_NE(registry.findClass("KroRepeatedMeasure.RepeatMeasurement")->clsid,
            registry.findClass("ZELControlProj.repMeasControl")->clsid);

  zel::unregisterRepMeasControl(registry);
  EXPECT_EQ(failureOf([] { automation::CreateObject("KroRepeatedMeasure.RepeatMeasurement"); }), 429);
  EXPECT_EQ(registry.findInterface("{D7FFE1A3-F79D-4C6F-A478-D4CFE8898ACA}"), nullptr);
}

}  // namespace
