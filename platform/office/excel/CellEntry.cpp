#include "office/excel/CellEntry.h"

#include <charconv>
#include <string>

#include "automation/Date.h"
#include "automation/Object.h"

namespace office::excel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A number as Excel reads typed text: an optional sign, digits with thousands commas only in
// groups of three, a decimal point, an exponent with E. Unlike VB, no "D" exponent.
std::optional<double> typedNumber(std::string_view text) {
  std::string clean;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
  size_t digits = 0, group = 0;
  bool grouped = false;
  for (; i < text.size(); ++i) {
    if (isDigit(text[i])) {
      clean += text[i], ++digits, ++group;
    } else if (text[i] == ',' && digits > 0 && (!grouped ? group <= 3 : group == 3)) {
      grouped = true, group = 0;
    } else {
      break;
    }
  }
  if (grouped && group != 3) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    clean += text[i++];
    for (; i < text.size() && isDigit(text[i]); ++i) clean += text[i], ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    clean += text[i++];
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
    const size_t start = i;
    for (; i < text.size() && isDigit(text[i]); ++i) clean += text[i];
    if (i == start) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  if (clean.front() == '+') clean.erase(0, 1);
  double value = 0;
  const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (error != std::errc() || end != clean.data() + clean.size()) return std::nullopt;
  return value;
}

}  // namespace

automation::Variant enteredValue(std::string_view text, std::string_view numberFormat) {
  if (numberFormat == "@") return automation::Variant(std::string(text));
  if (!text.empty() && text.front() == '\'') return automation::Variant(std::string(text.substr(1)));
  const std::string_view entry = trimmed(text);
  if (automation::equalsNoCase(entry, "TRUE")) return automation::Variant(true);
  if (automation::equalsNoCase(entry, "FALSE")) return automation::Variant(false);
  if (const auto number = typedNumber(entry)) return automation::Variant(*number);
  if (!entry.empty() && isDigit(entry.front()))
    if (const auto date = automation::Date::parse(entry)) return automation::Variant(*date);
  return automation::Variant(std::string(text));
}

}  // namespace office::excel
