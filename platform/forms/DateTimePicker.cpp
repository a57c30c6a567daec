#include "forms/DateTimePicker.h"

#include <array>
#include <cmath>

#include <fmt/format.h>

#include "automation/Clock.h"
#include "automation/Error.h"

namespace forms {

namespace {
int daysInMonth(int year, int month) {
  static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[static_cast<size_t>(month - 1)];
}

constexpr std::array<const char*, 7> kWeekdays{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                               "Saturday"};
}  // namespace

std::string formatPickerText(automation::Date date, std::string_view format) {
  const automation::DateParts p = date.parts();
  const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
  std::string out;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c == '\'') {
      const size_t end = format.find('\'', i + 1);
      out += format.substr(i + 1, (end == std::string_view::npos ? format.size() : end) - i - 1);
      i = end == std::string_view::npos ? format.size() : end + 1;
      continue;
    }
    size_t n = 1;
    while (i + n < format.size() && format[i + n] == c) ++n;
    const int count = static_cast<int>(n);
    auto number = [&](int value) { return count >= 2 ? fmt::format("{:02}", value) : std::to_string(value); };
    switch (c) {
      case 'd':
        if (count >= 4) {
          out += kWeekdays[static_cast<size_t>(p.weekday - 1)];
        } else if (count == 3) {
          out += std::string(kWeekdays[static_cast<size_t>(p.weekday - 1)]).substr(0, 3);
        } else {
          out += number(p.day);
        }
        break;
      case 'M':
        if (count >= 4) {
          out += automation::monthName(p.month);
        } else if (count == 3) {
          out += std::string(automation::monthName(p.month)).substr(0, 3);
        } else {
          out += number(p.month);
        }
        break;
      case 'y':
        out += count >= 3 ? std::to_string(p.year) : count == 2 ? fmt::format("{:02}", p.year % 100)
                                                                : std::to_string(p.year % 10);
        break;
      case 'h': out += number(hour12); break;
      case 'H': out += number(p.hour); break;
      case 'm': out += number(p.minute); break;
      case 's': out += number(p.second); break;
      case 't': out += count >= 2 ? (p.hour < 12 ? "AM" : "PM") : (p.hour < 12 ? "A" : "P"); break;
      default: out.append(n, c);
    }
    i += n;
  }
  return out;
}

DateTimePicker::DateTimePicker(const Site& site) : Control(site) {
  s_.value = automation::clock().now();
}

automation::Date DateTimePicker::Value() const {
  touch();
  return s_.value;
}

void DateTimePicker::setValue(automation::Date value) {
  touch();
  s_.value = value;
}

int DateTimePicker::Format() const {
  touch();
  return s_.format;
}

void DateTimePicker::setFormat(int format) {
  touch();
  if (format < dtpLongDate || format > dtpCustom) throw automation::Error::vb(380);
  s_.format = format;
}

std::string DateTimePicker::CustomFormat() const {
  touch();
  return s_.customFormat;
}

void DateTimePicker::setCustomFormat(std::string format) {
  touch();
  s_.customFormat = std::move(format);
}

bool DateTimePicker::UpDown() const {
  touch();
  return s_.upDown;
}

void DateTimePicker::setUpDown(bool upDown) {
  touch();
  s_.upDown = upDown;
}

std::string DateTimePicker::Text() const {
  touch();
  switch (s_.format) {
    case dtpShortDate: return formatPickerText(s_.value, "M/d/yyyy");
    case dtpTime: return formatPickerText(s_.value, "h:mm:ss tt");
    case dtpCustom: return formatPickerText(s_.value, s_.customFormat);
    default: return formatPickerText(s_.value, "dddd, MMMM dd, yyyy");
  }
}

int DateTimePicker::Year() const { return Value().parts().year; }
int DateTimePicker::Month() const { return Value().parts().month; }
int DateTimePicker::Day() const { return Value().parts().day; }
int DateTimePicker::Hour() const { return Value().parts().hour; }
int DateTimePicker::Minute() const { return Value().parts().minute; }
int DateTimePicker::Second() const { return Value().parts().second; }

void DateTimePicker::setPart(int which, int value) {
  touch();
  automation::DateParts p = s_.value.parts();
  int* parts[] = {&p.year, &p.month, &p.day, &p.hour, &p.minute, &p.second};
  static constexpr int low[] = {1601, 1, 1, 0, 0, 0};
  static constexpr int high[] = {9999, 12, 31, 23, 59, 59};
  if (value < low[which] || value > high[which]) throw automation::Error::vb(380);
  if (which == 2 && value > daysInMonth(p.year, p.month)) throw automation::Error::vb(380);
  *parts[which] = value;
  p.day = std::min(p.day, daysInMonth(p.year, p.month));
  s_.value = automation::Date::fromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

void DateTimePicker::setYear(int year) { setPart(0, year); }
void DateTimePicker::setMonth(int month) { setPart(1, month); }
void DateTimePicker::setDay(int day) { setPart(2, day); }
void DateTimePicker::setHour(int hour) { setPart(3, hour); }
void DateTimePicker::setMinute(int minute) { setPart(4, minute); }
void DateTimePicker::setSecond(int second) { setPart(5, second); }

void DateTimePicker::userPick(automation::Date value) {
  if (value == s_.value) return;
  s_.value = value;
  if (onChange) onChange();
}

void DateTimePicker::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void DateTimePicker::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
