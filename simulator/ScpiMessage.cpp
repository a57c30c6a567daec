#include "simulator/ScpiMessage.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "simulator/ScpiError.h"

namespace sim {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Length of the block starting at text[i] == '#', header included; 0 when it is no block
// ("#H1F" is a hexadecimal number, not a block).
std::size_t blockSpan(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size()) return 0;
  const char d = text[i + 1];
  if (d == '0') return text.size() - i;
  if (d < '1' || d > '9') return 0;
  const std::size_t digits = static_cast<std::size_t>(d - '0');
  if (i + 2 + digits > text.size()) return text.size() - i;
  std::size_t length = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    const char c = text[i + 2 + k];
    if (c < '0' || c > '9') return 2 + k;
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  return std::min(2 + digits + length, text.size() - i);
}

struct SuffixEntry {
  const char* name;
  double multiplier;
};

std::optional<double> suffixMultiplier(Suffix kind, std::string_view suffix) {
  static const SuffixEntry frequency[] = {{"HZ", 1}, {"KHZ", 1e3}, {"MHZ", 1e6}, {"MAHZ", 1e6},
                                          {"GHZ", 1e9}};
  static const SuffixEntry time[] = {{"S", 1},     {"MS", 1e-3}, {"US", 1e-6},
                                     {"NS", 1e-9}, {"KS", 1e3}};
  static const SuffixEntry level[] = {{"DB", 1}, {"DBM", 1}};
  const std::string u = upper(suffix);
  auto find = [&](const auto& table) -> std::optional<double> {
    for (const auto& e : table)
      if (u == e.name) return e.multiplier;
    return std::nullopt;
  };
  switch (kind) {
    case Suffix::Frequency: return find(frequency);
    case Suffix::Time: return find(time);
    case Suffix::Level: return find(level);
    case Suffix::None: break;
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string_view> splitTopLevel(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t begin = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = text.find(c, i + 1);
      i = close == std::string_view::npos ? text.size() : close + 1;
      continue;
    }
    if (c == '#') {
      const std::size_t span = blockSpan(text, i);
      if (span > 0) {
        i += span;
        continue;
      }
    }
    if (c == separator) {
      parts.push_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
    ++i;
  }
  parts.push_back(text.substr(begin));
  return parts;
}

std::string Param::mnemonic() const {
  const std::string_view s = trim(raw_);
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s.front()))) throw ScpiError(DataTypeError);
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') throw ScpiError(DataTypeError);
  return upper(s);
}

double Param::number(Suffix suffix, double min, double max, double def) const {
  const std::string_view s = trim(raw_);
  if (s.empty()) throw ScpiError(MissingParameter);
  if (std::isalpha(static_cast<unsigned char>(s.front()))) {
    const std::string word = upper(s);
    if (word == "MIN" || word == "MINIMUM") return min;
    if (word == "MAX" || word == "MAXIMUM") return max;
    if (word == "DEF" || word == "DEFAULT") return def;
    throw ScpiError(DataTypeError);
  }
  const std::string copy(s);
  char* end = nullptr;
  double value = std::strtod(copy.c_str(), &end);
  // strtod also takes "inf", "nan" and hexadecimal floats, none of which is SCPI decimal data.
  const char first = copy.front();
  if (end == copy.c_str() || !(std::isdigit(static_cast<unsigned char>(first)) || first == '+' ||
                               first == '-' || first == '.') ||
      copy.find_first_of("xXnNiI") < static_cast<std::size_t>(end - copy.c_str()))
    throw ScpiError(DataTypeError);
  const std::string_view rest = trim(std::string_view(end));
  if (!rest.empty()) {
    const auto multiplier = suffixMultiplier(suffix, rest);
    if (!multiplier) throw ScpiError(InvalidSuffix);
    value *= *multiplier;
  }
  if (!std::isfinite(value)) throw ScpiError(DataOutOfRange);
  if (value < min || value > max) throw ScpiError(DataOutOfRange);
  return value;
}

bool Param::boolean() const {
  const std::string_view s = trim(raw_);
  if (!s.empty() && std::isalpha(static_cast<unsigned char>(s.front()))) {
    const std::string word = upper(s);
    if (word == "ON") return true;
    if (word == "OFF") return false;
    throw ScpiError(IllegalParameterValue);
  }
  return std::lround(number(Suffix::None, -1e300, 1e300, 0)) != 0;
}

std::string Param::string() const {
  const std::string_view s = trim(raw_);
  if (s.size() < 2 || (s.front() != '"' && s.front() != '\'') || s.back() != s.front())
    throw ScpiError(DataTypeError);
  const char q = s.front();
  std::string out;
  for (std::size_t i = 1; i + 1 < s.size(); ++i) {
    out.push_back(s[i]);
    if (s[i] == q && s[i + 1] == q) ++i;
  }
  return out;
}

std::string_view Param::block() const {
  std::string_view s = raw_;
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  if (s.size() < 2 || s[0] != '#') throw ScpiError(DataTypeError);
  if (s[1] == '0') return s.substr(2);
  if (s[1] < '1' || s[1] > '9') throw ScpiError(InvalidBlockData);
  const std::size_t digits = static_cast<std::size_t>(s[1] - '0');
  if (s.size() < 2 + digits) throw ScpiError(InvalidBlockData);
  std::size_t length = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    const char c = s[2 + k];
    if (c < '0' || c > '9') throw ScpiError(InvalidBlockData);
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  const std::string_view payload = s.substr(2 + digits);
  if (payload.size() < length || !trim(payload.substr(length)).empty())
    throw ScpiError(InvalidBlockData);
  return payload.substr(0, length);
}

ProgramUnit parseUnit(std::string_view text) {
  ProgramUnit unit;
  std::string_view s = text;
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  std::size_t end = 0;
  while (end < s.size() && !std::isspace(static_cast<unsigned char>(s[end]))) ++end;
  std::string_view header = s.substr(0, end);
  // Only leading blanks go: trailing bytes may belong to a block, and each parameter trims itself.
  std::string_view rest = s.substr(end);
  while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front()))) rest.remove_prefix(1);

  if (!header.empty() && header.back() == '?') {
    unit.query = true;
    header.remove_suffix(1);
  }
  if (!header.empty() && header.front() == '*') {
    unit.common = true;
    header.remove_prefix(1);
    if (header.empty()) throw ScpiError(SyntaxError);
    for (char c : header)
      if (!std::isalpha(static_cast<unsigned char>(c))) throw ScpiError(SyntaxError);
    unit.nodes.push_back("*" + upper(header));
  } else {
    if (!header.empty() && header.front() == ':') {
      unit.rooted = true;
      header.remove_prefix(1);
    }
    if (header.empty()) throw ScpiError(SyntaxError);
    for (std::string_view node : splitTopLevel(header, ':')) {
      if (node.empty() || !std::isalpha(static_cast<unsigned char>(node.front())))
        throw ScpiError(SyntaxError);
      for (char c : node)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') throw ScpiError(SyntaxError);
      unit.nodes.push_back(upper(node));
    }
  }
  if (!rest.empty())
    for (std::string_view p : splitTopLevel(rest, ',')) unit.params.emplace_back(p);
  return unit;
}

}  // namespace sim
