#include "GetDataRequest.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
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
    const std::string name = lower(trimmed(names.substr(from, comma - from)));
    from = comma + 1;
    int found = -1;
    for (int i = 0; i < static_cast<int>(labels.size()); ++i)
      if (lower(labels[i]) == name) found = i;
    if (found < 0) throw std::invalid_argument("unknown annotation \"" + name + "\"");
    if (std::find(indices.begin(), indices.end(), found) == indices.end()) indices.push_back(found);
  }
  std::sort(indices.begin(), indices.end());
  return indices;
}

std::optional<automation::Date> parseStartAt(const std::string& text) {
  int year, month, day, hour, minute, used = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%n", &year, &month, &day, &hour, &minute, &used) != 5 ||
      used != static_cast<int>(text.size()))
    return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59) return std::nullopt;
  try {
    return automation::Date::fromParts(year, month, day, hour, minute);
  } catch (const automation::Error&) {
    return std::nullopt;
  }
}

bool isClockTime(const std::string& text) {
  int colons = 0;
  bool digit = false;
  for (char c : text) {
    if (c == ':') {
      if (!digit) return false;
      ++colons;
      digit = false;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      digit = true;
    } else {
      return false;
    }
  }
  return colons == 2 && digit;
}

}  // namespace zelhost
