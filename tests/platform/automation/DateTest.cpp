#include "automation/Date.h"

#include <gtest/gtest.h>

#include "automation/Clock.h"
#include "automation/Error.h"

using automation::Date;

TEST(Date, GeneralDateShowsDateAndTimeOnlyWhereTheyExist) {
  EXPECT_EQ(Date::fromParts(2026, 12, 4, 8, 16, 18).toString(), "12/4/2026 8:16:18 AM");
  EXPECT_EQ(Date::fromParts(2026, 12, 4).toString(), "12/4/2026");
  EXPECT_EQ(Date::fromParts(1899, 12, 30, 8, 16, 18).toString(), "8:16:18 AM");
  EXPECT_EQ(Date::fromParts(2026, 12, 4, 0, 0, 5).toString(), "12/4/2026 12:00:05 AM");
  EXPECT_EQ(Date::fromParts(2026, 12, 4, 12, 30, 0).toString(), "12/4/2026 12:30:00 PM");
  EXPECT_EQ(Date(0.0).toString(), "12:00:00 AM");
}

TEST(Date, SerialCountsDaysFromTheEndOf1899) {
  EXPECT_DOUBLE_EQ(Date::fromParts(1899, 12, 31).serial(), 1.0);
  EXPECT_DOUBLE_EQ(Date::fromParts(1900, 3, 1).serial(), 61.0);
  EXPECT_DOUBLE_EQ(Date::fromParts(2026, 12, 4, 18).serial(), 46360.75);
  // Before the epoch the day is negative and the time fraction still counts forward.
  EXPECT_DOUBLE_EQ(Date::fromParts(1899, 12, 29, 6).serial(), -1.25);
  const auto p = Date(-1.25).parts();
  EXPECT_EQ(p.day, 29);
  EXPECT_EQ(p.hour, 6);
}

TEST(Date, PartsCarryOverAsDateSerialDoesAndRoundToTheSecond) {
  EXPECT_EQ(Date::fromParts(2026, 13, 1), Date::fromParts(2027, 1, 1));
  EXPECT_EQ(Date::fromParts(2026, 3, 0), Date::fromParts(2026, 2, 28));
  EXPECT_EQ(Date::fromParts(2026, 12, 4, 23, 59, 60), Date::fromParts(2026, 12, 5));
  const auto p = Date(Date::fromParts(2026, 12, 4, 8, 16, 18).serial() + 0.4 / 86400).parts();
  EXPECT_EQ(p.second, 18);
  EXPECT_EQ(Date::fromParts(2026, 12, 4).parts().weekday, 6);  // a Friday
  EXPECT_THROW(Date::fromParts(10000, 1, 1), automation::Error);
}

TEST(Date, ParseAcceptsTheEnUsFormsAndRefusesTheRest) {
  EXPECT_EQ(Date::parse("12/04/2026 08:16"), Date::fromParts(2026, 12, 4, 8, 16));
  EXPECT_EQ(Date::parse("12/4/2026 8:16:18 PM"), Date::fromParts(2026, 12, 4, 20, 16, 18));
  EXPECT_EQ(Date::parse("2026-12-04 08:16:18"), Date::fromParts(2026, 12, 4, 8, 16, 18));
  EXPECT_EQ(Date::parse("8:16 AM"), Date::fromParts(1899, 12, 30, 8, 16));
  EXPECT_FALSE(Date::parse("2/30/2026"));
  EXPECT_FALSE(Date::parse("13/13/2026"));
  EXPECT_FALSE(Date::parse("12/4/2026 25:00"));
  EXPECT_FALSE(Date::parse("tomorrow"));
  EXPECT_FALSE(Date::parse(""));
}

TEST(Date, FormatFollowsVbPatterns) {
  const Date d = Date::fromParts(2026, 3, 7, 14, 5, 9);
  EXPECT_EQ(automation::format(d, "mm/dd/yyyy"), "03/07/2026");
  EXPECT_EQ(automation::format(d, "hh:mm"), "14:05");
  EXPECT_EQ(automation::format(d, "mmm d, yyyy"), "Mar 7, 2026");
  EXPECT_EQ(automation::format(d, "h:nn:ss AM/PM"), "2:05:09 PM");
  EXPECT_EQ(automation::format(5, "00"), "05");
  EXPECT_EQ(automation::format(123, "00"), "123");
}

TEST(Clock, FakeClockMovesOnlyWhenToldAndSleepingAddsUp) {
  automation::FakeClock fake(Date::fromParts(2026, 12, 4, 8, 16, 18));
  automation::ScopedClock scope(fake);
  EXPECT_EQ(automation::clock().now(), Date::fromParts(2026, 12, 4, 8, 16, 18));
  for (int i = 0; i < 4; ++i) automation::clock().sleep(std::chrono::milliseconds(250));
  EXPECT_EQ(automation::clock().now(), Date::fromParts(2026, 12, 4, 8, 16, 19));
  EXPECT_EQ(fake.slept(), std::chrono::milliseconds(1000));
}
