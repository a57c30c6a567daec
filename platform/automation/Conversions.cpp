#include "Conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>

#include "Error.h"
#include "Object.h"

namespace automation {
namespace {

constexpr double kMinDate = -657434.0;        // 1 January 100
constexpr double kMaxDate = 2958466.0;        // just past 31 December 9999 23:59:59

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// An object stands for its default member (dispatch id 0) wherever VB expects a plain value.
Variant scalar(const Variant& value) {
  if (value.isNull()) throw Error::vb(94);
  if (value.isArray()) throw Error::vb(vbErrTypeMismatch);
  if (!value.isObject()) return value;
  const ObjectPtr& object = value.asObject();
  if (!object) throw Error::vb(vbErrObjectNotSet);
  Variant result = object->invoke(DISPID_VALUE, DispatchKind::PropertyGet);
  if (result.isObject() || result.isArray()) throw Error::vb(vbErrTypeMismatch);
  if (result.isNull()) throw Error::vb(94);
  return result;
}

// "&H1F" and "&O17": oleaut32 takes the digits as the bits of the type asked for, so "&HFFFF"
// is -1 as an Integer and 65535 as a Long; more bits than the type has overflow.
std::optional<uint64_t> parseRadix(std::string_view text) {
  text = trim(text);
  if (text.size() < 3 || text[0] != '&') return std::nullopt;
  const char kind = static_cast<char>(text[1] | 0x20);
  if (kind != 'h' && kind != 'o') return std::nullopt;
  const unsigned shift = kind == 'h' ? 4 : 3;
  uint64_t value = 0;
  for (const char c : text.substr(2)) {
    const char lower = static_cast<char>(c | 0x20);
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (lower >= 'a' && lower <= 'f') digit = static_cast<unsigned>(lower - 'a' + 10);
    else return std::nullopt;
    if (digit >= (1u << shift)) return std::nullopt;
    if (value >> (64 - shift)) throw Error::vb(vbErrOverflow);
    value = (value << shift) | digit;
  }
  return value;
}

template <class T>
T fromBits(uint64_t bits) {
  using Unsigned = std::make_unsigned_t<T>;
  if (bits > std::numeric_limits<Unsigned>::max()) throw Error::vb(vbErrOverflow);
  return static_cast<T>(static_cast<Unsigned>(bits));
}

double textToDouble(const std::string& text) {
  if (const auto bits = parseRadix(text)) return fromBits<int32_t>(*bits);
  const auto number = parseNumber(text);
  if (!number) throw Error::vb(vbErrTypeMismatch);
  if (!std::isfinite(*number)) throw Error::vb(vbErrOverflow);
  return *number;
}

// Banker's rounding into [low, high], as VB's CInt and CLng do.
double roundInRange(double value, double low, double high) {
  if (!std::isfinite(value)) throw Error::vb(vbErrOverflow);
  const double r = std::nearbyint(value);  // the default rounding mode rounds halves to even
  if (r < low || r > high) throw Error::vb(vbErrOverflow);
  return r;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
  text = trim(text);
  std::string clean;
  clean.reserve(text.size());
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t digits = 0;
  // Thousands commas are taken only between digits of the whole part.
  while (i < text.size()) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      clean += c, ++digits, ++i;
    } else if (c == ',' && digits > 0 && i + 1 < text.size() && text[i + 1] >= '0' &&
               text[i + 1] <= '9') {
      ++i;
    } else {
      break;
    }
  }
  if (i < text.size() && text[i] == '.') {
    clean += text[i++];
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') clean += text[i++], ++digits;
  }
  if (digits == 0) return std::nullopt;
  bool negativeExponent = false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    clean += 'E';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      clean += text[i++];
    }
    size_t exponentDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') clean += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  double value = 0.0;
  const auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (ec == std::errc::result_out_of_range) {
    value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (ec != std::errc() || end != clean.data() + clean.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string formatDouble(double value) {
  if (std::isnan(value)) return "-1.#IND";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  if (value == 0.0) return "0";  // also -0
  // 15 significant digits, rounded once; the exponent printed is the one after rounding.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14E", value);
  std::string_view s(buffer);
  const bool negative = s.front() == '-';
  if (negative) s.remove_prefix(1);
  const size_t e = s.find('E');
  std::string digits;
  for (char c : s.substr(0, e))
    if (c != '.') digits += c;
  int exponent = 0;
  std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + tail;
  }
  if (exponent < 0) return out + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  const size_t whole = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= whole) return out + digits + std::string(whole - digits.size(), '0');
  return out + digits.substr(0, whole) + "." + digits.substr(whole);
}

double CDbl(const Variant& input) {
  const Variant v = scalar(input);
  switch (v.varType()) {
    case vbEmpty: return 0.0;
    case vbInteger: return v.asInteger();
    case vbLong: return v.asLong();
    case vbByte: return v.asByte();
    case vbDouble: return v.asDouble();
    case vbBoolean: return v.asBoolean() ? -1.0 : 0.0;
    case vbDate: return v.asDate().serial();
    case vbString: return textToDouble(v.asString());
    default: throw Error::vb(vbErrTypeMismatch);
  }
}

int16_t CInt(const Variant& input) {
  const Variant v = scalar(input);
  switch (v.varType()) {
    case vbInteger: return v.asInteger();
    case vbBoolean: return toVariantBool(v.asBoolean());
    case vbByte: return v.asByte();
    case vbString:
      if (const auto bits = parseRadix(v.asString())) return fromBits<int16_t>(*bits);
      [[fallthrough]];
    default:
      return static_cast<int16_t>(roundInRange(CDbl(v), std::numeric_limits<int16_t>::min(),
                                               std::numeric_limits<int16_t>::max()));
  }
}

int32_t CLng(const Variant& input) {
  const Variant v = scalar(input);
  switch (v.varType()) {
    case vbInteger: return v.asInteger();
    case vbLong: return v.asLong();
    case vbBoolean: return toVariantBool(v.asBoolean());
    case vbByte: return v.asByte();
    case vbString:
      if (const auto bits = parseRadix(v.asString())) return fromBits<int32_t>(*bits);
      [[fallthrough]];
    default:
      return static_cast<int32_t>(roundInRange(CDbl(v), std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max()));
  }
}

uint8_t CByte(const Variant& input) {
  const Variant v = scalar(input);
  if (v.varType() == vbByte) return v.asByte();
  return static_cast<uint8_t>(roundInRange(CDbl(v), 0, 255));
}

bool CBool(const Variant& input) {
  const Variant v = scalar(input);
  if (v.varType() == vbBoolean) return v.asBoolean();
  if (v.isString()) {
    const std::string_view text = trim(v.asString());
    if (equalsNoCase(text, "True")) return true;
    if (equalsNoCase(text, "False")) return false;
  }
  return CDbl(v) != 0.0;
}

std::string CStr(const Variant& input) {
  const Variant v = scalar(input);
  switch (v.varType()) {
    case vbEmpty: return {};
    case vbInteger: return std::to_string(v.asInteger());
    case vbLong: return std::to_string(v.asLong());
    case vbByte: return std::to_string(v.asByte());
    case vbDouble: return formatDouble(v.asDouble());
    case vbBoolean: return v.asBoolean() ? "True" : "False";
    case vbDate: return v.asDate().toString();
    case vbString: return v.asString();
    default: throw Error::vb(vbErrTypeMismatch);
  }
}

Date CDate(const Variant& input) {
  const Variant v = scalar(input);
  if (v.varType() == vbDate) return v.asDate();
  if (v.isString()) {
    if (auto date = Date::parse(v.asString())) return *date;
    throw Error::vb(vbErrTypeMismatch);
  }
  const double serial = CDbl(v);
  if (!(serial >= kMinDate && serial < kMaxDate)) throw Error::vb(vbErrOverflow);
  return Date(serial);
}

}  // namespace automation
