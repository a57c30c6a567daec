#include "Date.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>

#include <fmt/format.h>

#include "Error.h"

namespace automation {
namespace {

constexpr long long kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30.
constexpr long long kEpochOffset = 25569;
constexpr double kMinSerial = -657434.0;        // 1 January 100
constexpr double kMaxSerial = 2958465.99999999;  // 31 December 9999 23:59:59

// Civil calendar <-> day count from 1970-01-01 (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// The automation date stores days before 1899-12-30 as negative whole days with a positive
// time fraction (-1.25 is 29 December 1899 06:00), so the two halves are split separately.
long long toLinearSeconds(double serial) {
  const double day = std::trunc(serial);
  const double frac = std::fabs(serial - day);
  return static_cast<long long>(day) * kSecondsPerDay + std::llround(frac * kSecondsPerDay);
}

double fromLinearSeconds(long long total) {
  long long day = total / kSecondsPerDay;
  long long rest = total % kSecondsPerDay;
  if (rest < 0) {
    day -= 1;
    rest += kSecondsPerDay;
  }
  const double frac = static_cast<double>(rest) / kSecondsPerDay;
  return day >= 0 ? day + frac : day - frac;
}

std::string twelveHour(const DateParts& p, bool padHour) {
  int h = p.hour % 12;
  if (h == 0) h = 12;
  return padHour ? fmt::format("{:02}:{:02}:{:02} {}", h, p.minute, p.second, p.hour < 12 ? "AM" : "PM")
                 : fmt::format("{}:{:02}:{:02} {}", h, p.minute, p.second, p.hour < 12 ? "AM" : "PM");
}

int fullYear(int year) { return year < 30 ? 2000 + year : (year < 100 ? 1900 + year : year); }

// 1..12 for a month's name or its first three letters, without regard to case; 0 otherwise.
int monthOfName(std::string_view word) {
  for (int m = 1; m <= 12; ++m) {
    const std::string_view name = monthName(m);
    if (word.size() != 3 && word.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < word.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(word[i])) == std::tolower(static_cast<unsigned char>(name[i]));
    if (same) return m;
  }
  return 0;
}

// "Dec 31, 2026", "December 31 2026", "31 Dec 2026", "31-Dec-2026": three words, the month
// named first or second, the year last. `pos` ends after the year.
bool namedMonthDate(const std::string& s, size_t& pos, int& y, int& mo, int& d) {
  std::string_view words[3];
  size_t at = 0;
  for (std::string_view& word : words) {
    while (at < s.size() && (s[at] == ' ' || s[at] == ',' || s[at] == '-' || s[at] == '.')) ++at;
    const size_t start = at;
    const bool digits = at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]));
    while (at < s.size() && (digits ? std::isdigit(static_cast<unsigned char>(s[at]))
                                    : std::isalpha(static_cast<unsigned char>(s[at]))))
      ++at;
    word = std::string_view(s).substr(start, at - start);
    if (word.empty()) return false;
  }
  auto number = [](std::string_view word, int& out) {
    return std::isdigit(static_cast<unsigned char>(word[0])) && word.size() <= 4 &&
           std::sscanf(std::string(word).c_str(), "%d", &out) == 1;
  };
  int year = 0, day = 0, month = monthOfName(words[0]);
  const bool dayFirst = month == 0;
  if (dayFirst) month = monthOfName(words[1]);
  if (month == 0 || !number(words[dayFirst ? 0 : 1], day) || !number(words[2], year)) return false;
  y = fullYear(year), mo = month, d = day, pos = at;
  return true;
}

}  // namespace

Date Date::fromParts(int year, int month, int day, int hour, int minute, int second) {
  // Carry months into years first, as DateSerial does, then count days and seconds linearly.
  long long y = year;
  long long m0 = static_cast<long long>(month) - 1;
  y += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
  const unsigned m = static_cast<unsigned>(((m0 % 12) + 12) % 12 + 1);
  const long long days = daysFromCivil(y, m, 1) + (day - 1) + kEpochOffset;
  const long long secs = days * kSecondsPerDay + static_cast<long long>(hour) * 3600 +
                         static_cast<long long>(minute) * 60 + second;
  const double serial = fromLinearSeconds(secs);
  if (serial < kMinSerial || serial > kMaxSerial) throw Error::vb(vbErrInvalidProcedureCall);
  return Date(serial);
}

DateParts Date::parts() const {
  const long long total = toLinearSeconds(serial_);
  long long day = total / kSecondsPerDay;
  long long rest = total % kSecondsPerDay;
  if (rest < 0) {
    day -= 1;
    rest += kSecondsPerDay;
  }
  DateParts p;
  civilFromDays(day - kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<int>(rest / 3600);
  p.minute = static_cast<int>(rest / 60 % 60);
  p.second = static_cast<int>(rest % 60);
  // 1970-01-01 was a Thursday (vbThursday = 5).
  p.weekday = static_cast<int>((((day - kEpochOffset + 4) % 7) + 7) % 7) + 1;
  return p;
}

Date Date::addSeconds(double seconds) const {
  return Date(fromLinearSeconds(toLinearSeconds(serial_) + std::llround(seconds)));
}

long long Date::secondsUntil(Date later) const {
  return toLinearSeconds(later.serial_) - toLinearSeconds(serial_);
}

std::string Date::toString() const {
  const DateParts p = parts();
  const long long total = toLinearSeconds(serial_);
  const bool hasTime = total % kSecondsPerDay != 0;
  const bool hasDate = serial_ >= 1.0 || serial_ <= -1.0;
  if (!hasDate) return twelveHour(p, false);
  std::string text = fmt::format("{}/{}/{}", p.month, p.day, p.year);
  if (hasTime) text += " " + twelveHour(p, false);
  return text;
}

std::optional<Date> Date::parse(std::string_view text) {
  std::string s(text);
  // Trim.
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t start = 0;
  while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) ++start;
  s.erase(0, start);
  if (s.empty()) return std::nullopt;

  int y = 1899, mo = 12, d = 30, h = 0, mi = 0, se = 0;
  bool haveDate = false;
  size_t pos = 0;
  int n = 0;
  int a = 0, b = 0, c = 0;
  if (std::sscanf(s.c_str(), "%d-%d-%d%n", &a, &b, &c, &n) == 3 && n >= 8 && a >= 100) {
    y = a, mo = b, d = c, haveDate = true, pos = static_cast<size_t>(n);
  } else if (std::sscanf(s.c_str(), "%d/%d/%d%n", &a, &b, &c, &n) == 3) {
    // Month first, unless the first number cannot be a month and the second can.
    if (a > 12 && b >= 1 && b <= 12) std::swap(a, b);
    mo = a, d = b, y = fullYear(c), haveDate = true;
    pos = static_cast<size_t>(n);
  } else if (namedMonthDate(s, pos, y, mo, d)) {
    haveDate = true;
  }
  if (haveDate) {
    if (mo < 1 || mo > 12 || d < 1 || y < 100 || y > 9999) return std::nullopt;
    const Date probe = fromParts(y, mo, 1);
    if (d > 28 && fromParts(y, mo, d).parts().month != probe.parts().month) return std::nullopt;
    while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    if (pos < s.size() && (s[pos] == 'T' || s[pos] == 't')) ++pos;
  }
  std::string rest = s.substr(pos);
  bool haveTime = false;
  if (!rest.empty()) {
    n = 0;
    int got = std::sscanf(rest.c_str(), "%d:%d%n", &h, &mi, &n);
    if (got != 2) return std::nullopt;
    size_t p2 = static_cast<size_t>(n);
    if (p2 < rest.size() && rest[p2] == ':') {
      int m2 = 0;
      if (std::sscanf(rest.c_str() + p2, ":%d%n", &se, &m2) != 1) return std::nullopt;
      p2 += static_cast<size_t>(m2);
    }
    while (p2 < rest.size() && std::isspace(static_cast<unsigned char>(rest[p2]))) ++p2;
    std::string suffix = rest.substr(p2);
    for (auto& ch : suffix) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (suffix == "AM" || suffix == "PM") {
      if (h < 1 || h > 12) return std::nullopt;
      h = h % 12 + (suffix == "PM" ? 12 : 0);
    } else if (!suffix.empty()) {
      return std::nullopt;
    }
    if (h < 0 || h > 23 || mi < 0 || mi > 59 || se < 0 || se > 59) return std::nullopt;
    haveTime = true;
  }
  if (!haveDate && !haveTime) return std::nullopt;
  if (!haveDate) return Date(static_cast<double>(h * 3600 + mi * 60 + se) / kSecondsPerDay);
  return fromParts(y, mo, d, h, mi, se);
}

std::string_view monthName(int month) {
  static constexpr std::string_view names[] = {"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
  if (month < 1 || month > 12) throw Error::vb(vbErrInvalidProcedureCall);
  return names[month - 1];
}

std::string format(Date date, std::string_view pattern) {
  const DateParts p = date.parts();
  std::string out;
  bool lastWasHour = false;
  const bool twelve = pattern.find("AM/PM") != std::string_view::npos ||
                      pattern.find("am/pm") != std::string_view::npos;
  auto run = [&](size_t i) {
    size_t j = i;
    while (j < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[j])) ==
                                     std::tolower(static_cast<unsigned char>(pattern[i])))
      ++j;
    return j - i;
  };
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"') {
      const size_t end = pattern.find('"', i + 1);
      out += pattern.substr(i + 1, (end == std::string_view::npos ? pattern.size() : end) - i - 1);
      i = end == std::string_view::npos ? pattern.size() : end + 1;
      continue;
    }
    if (pattern.substr(i, 5) == "AM/PM" || pattern.substr(i, 5) == "am/pm") {
      const bool upper = c == 'A';
      out += p.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
      continue;
    }
    const size_t len = run(i);
    switch (lc) {
      case 'y':
        out += len >= 4 ? fmt::format("{:04}", p.year) : fmt::format("{:02}", p.year % 100);
        break;
      case 'm':
        if (lastWasHour && len <= 2) {
          out += len == 2 ? fmt::format("{:02}", p.minute) : fmt::format("{}", p.minute);
        } else if (len >= 4) {
          out += monthName(p.month);
        } else if (len == 3) {
          out += monthName(p.month).substr(0, 3);
        } else {
          out += len == 2 ? fmt::format("{:02}", p.month) : fmt::format("{}", p.month);
        }
        break;
      case 'd':
        out += len >= 2 ? fmt::format("{:02}", p.day) : fmt::format("{}", p.day);
        break;
      case 'h': {
        int h = p.hour;
        if (twelve) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += len >= 2 ? fmt::format("{:02}", h) : fmt::format("{}", h);
        break;
      }
      case 'n':
        out += len >= 2 ? fmt::format("{:02}", p.minute) : fmt::format("{}", p.minute);
        break;
      case 's':
        out += len >= 2 ? fmt::format("{:02}", p.second) : fmt::format("{}", p.second);
        break;
      default:
        out.append(pattern.substr(i, len));
        break;
    }
    if (lc != ' ' && lc != ':' ) lastWasHour = (lc == 'h');
    i += len;
  }
  return out;
}

std::string format(long long number, std::string_view pattern) {
  size_t zeros = 0;
  for (char c : pattern)
    if (c == '0') ++zeros;
  const std::string digits = fmt::format("{}", number < 0 ? -number : number);
  std::string out = digits.size() < zeros ? std::string(zeros - digits.size(), '0') + digits : digits;
  return number < 0 ? "-" + out : out;
}

}  // namespace automation
