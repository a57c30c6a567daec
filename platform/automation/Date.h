#pragma once
// The automation date: a double counting days from 30 December 1899, the time of day as its
// fraction. Shown and parsed as VB does under the en-US locale (1033).
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace automation {

struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  int weekday = 7;  // vbSunday = 1 ... vbSaturday = 7
};

class Date {
 public:
  constexpr Date() = default;
  constexpr explicit Date(double serial) : serial_(serial) {}

  // DateSerial + TimeSerial: out-of-range months, days, hours... carry over as VB's do.
  // Raises 5 when the result lies outside 1 January 100 .. 31 December 9999.
  static Date fromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  // CDate of a text in the en-US forms "12/4/2026", "12/4/2026 8:16:18 AM", "8:16 PM",
  // "2026-12-04 08:16:18", "Dec 31, 2026", "31 December 2026"; as oleaut32 does, "31/12/2026"
  // is read day first because 31 cannot be a month. nullopt when the text is no date.
  static std::optional<Date> parse(std::string_view text);

  constexpr double serial() const { return serial_; }
  // Split into calendar parts, rounded to the nearest second as VB's Year()..Second() are.
  DateParts parts() const;
  Date addSeconds(double seconds) const;
  // Whole seconds from this date to `later` (DateDiff("s", ...)).
  long long secondsUntil(Date later) const;

  // CStr: the general date, "12/4/2026 8:16:18 AM"; the date alone when there is no time,
  // the time alone when there is no date.
  std::string toString() const;

  friend constexpr auto operator<=>(Date a, Date b) { return a.serial_ <=> b.serial_; }
  friend constexpr bool operator==(Date a, Date b) { return a.serial_ == b.serial_; }

 private:
  double serial_ = 0.0;
};

// VB's Format for dates: yyyy yy mmmm mmm mm m dd d hh h nn n ss s AM/PM am/pm; "mm" right after
// an hour is minutes; any other character is copied; text in double quotes is literal.
std::string format(Date date, std::string_view pattern);
// VB's Format for whole numbers with a zero-padding pattern ("00" gives "05").
std::string format(long long number, std::string_view pattern);

std::string_view monthName(int month);  // "January".."December"

}  // namespace automation
