#include "GetDataRequest.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "automation/Error.h"
#include "dialogs/frmDataTransfer.h"

namespace zelhost {

namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Reads `digits` decimal digits at `at` (1 to `digits` of them when `atLeast` is 1).
std::optional<int> number(const std::string& text, size_t& at, size_t atLeast, size_t digits) {
  size_t used = 0;
  int value = 0;
  while (used < digits && at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    value = value * 10 + (text[at++] - '0');
    ++used;
  }
  if (used < atLeast) return std::nullopt;
  return value;
}

bool literal(const std::string& text, size_t& at, char expected) {
  if (at >= text.size() || text[at] != expected) return false;
  ++at;
  return true;
}

int daysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::vector<int> annotationIndices(const std::string& names) {
  const auto& labels = zel::frmDataTransfer::kAnnotationLabels;
  std::vector<int> indices;
  const std::string all = lower(trimmed(names));
  if (all == "none") return indices;
  if (all == "all") {
    for (int i = 0; i < static_cast<int>(labels.size()); ++i) indices.push_back(i);
    return indices;
  }
  size_t from = 0;
  while (from <= names.size()) {
    const auto comma = std::min(names.find(',', from), names.size());
    const std::string name = trimmed(names.substr(from, comma - from));
    from = comma + 1;
    const auto found = std::find_if(labels.begin(), labels.end(),
                                    [&](const auto& label) { return lower(label) == lower(name); });
    if (found == labels.end()) {
      std::string valid;
      for (const auto& label : labels) valid += fmt::format("\n  {}", label);
      throw std::invalid_argument(
          fmt::format("unknown annotation \"{}\"; the annotations are (any case, or all, or none):{}", name, valid));
    }
    const int index = static_cast<int>(found - labels.begin());
    if (std::find(indices.begin(), indices.end(), index) == indices.end()) indices.push_back(index);
  }
  std::sort(indices.begin(), indices.end());
  return indices;
}

automation::Date parseStartAt(const std::string& text) {
  size_t at = 0;
  const auto year = number(text, at, 4, 4);
  const bool dashes = year && literal(text, at, '-');
  const auto month = dashes ? number(text, at, 1, 2) : std::nullopt;
  const auto day = month && literal(text, at, '-') ? number(text, at, 1, 2) : std::nullopt;
  if (!day || !literal(text, at, ' '))
    throw std::invalid_argument(fmt::format("\"{}\" is not a start time: expected \"YYYY-MM-DD HH:MM\"", text));
  const size_t timeAt = at;
  const auto hour = number(text, at, 1, 2);
  const auto minute = hour && literal(text, at, ':') ? number(text, at, 2, 2) : std::nullopt;
  if (!minute || at != text.size())
    throw std::invalid_argument(fmt::format("\"{}\" is not a time of day: expected HH:MM", text.substr(timeAt)));
  if (*month < 1 || *month > 12 || *day < 1 || *day > daysIn(*year, *month))
    throw std::invalid_argument(fmt::format("{}-{:02}-{:02} is not a date", *year, *month, *day));
  if (*hour > 23 || *minute > 59)
    throw std::invalid_argument(fmt::format("{:02}:{:02} is not a time of day", *hour, *minute));
  try {
    return automation::Date::fromParts(*year, *month, *day, *hour, *minute);
  } catch (const automation::Error& e) {
    throw std::invalid_argument(fmt::format("\"{}\" is not a start time: {}", text, e.description()));
  }
}

void checkClockTime(const std::string& text) {
  size_t at = 0;
  const auto hours = number(text, at, 1, 2);
  const auto minutes = hours && literal(text, at, ':') ? number(text, at, 1, 2) : std::nullopt;
  const auto seconds = minutes && literal(text, at, ':') ? number(text, at, 1, 2) : std::nullopt;
  if (!seconds || at != text.size())
    throw std::invalid_argument(fmt::format("\"{}\" is not a time: expected HH:MM:SS", text));
  if (*hours > 23) throw std::invalid_argument(fmt::format("\"{}\": hours must be 0 to 23", text));
  if (*minutes > 59) throw std::invalid_argument(fmt::format("\"{}\": minutes must be 0 to 59", text));
  if (*seconds > 59) throw std::invalid_argument(fmt::format("\"{}\": seconds must be 0 to 59", text));
}

}  // namespace zelhost
