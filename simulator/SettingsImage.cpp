#include "simulator/SettingsImage.h"

#include <fmt/format.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <map>

namespace sim {
namespace {

constexpr std::string_view kTag = "ZELSTATE";

void putLe32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t getLe32(std::string_view s) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[static_cast<std::size_t>(i)]);
  return v;
}

std::optional<double> toDouble(const std::string& s) {
  double v = 0;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

template <class E>
std::optional<E> enumFrom(const std::string& s, int count) {
  const auto v = toDouble(s);
  if (!v || *v < 0 || *v >= count || *v != static_cast<int>(*v)) return std::nullopt;
  return static_cast<E>(static_cast<int>(*v));
}

// Every setting with its name, how to write it and how to read it back.
struct Field {
  const char* name;
  std::function<std::string(const Settings&)> get;
  std::function<bool(Settings&, const std::string&)> set;
};

Field number(const char* name, double Settings::*member) {
  return {name, [member](const Settings& s) { return fmt::format("{}", s.*member); },
          [member](Settings& s, const std::string& v) {
            const auto d = toDouble(v);
            if (!d) return false;
            s.*member = *d;
            return true;
          }};
}

template <class E>
Field enumeration(const char* name, E Settings::*member, int count) {
  return {name, [member](const Settings& s) { return std::to_string(static_cast<int>(s.*member)); },
          [member, count](Settings& s, const std::string& v) {
            const auto e = enumFrom<E>(v, count);
            if (!e) return false;
            s.*member = *e;
            return true;
          }};
}

Field traceMode(const char* name, std::size_t index) {
  return {name,
          [index](const Settings& s) { return std::to_string(static_cast<int>(s.traceModes[index])); },
          [index](Settings& s, const std::string& v) {
            const auto e = enumFrom<TraceMode>(v, 5);
            if (!e) return false;
            s.traceModes[index] = *e;
            return true;
          }};
}

const std::vector<Field>& fields() {
  static const std::vector<Field> list{
      number("start", &Settings::startHz),
      number("stop", &Settings::stopHz),
      number("rbw", &Settings::rbwHz),
      number("vbw", &Settings::vbwHz),
      number("attenuation", &Settings::attenuationDb),
      number("reference", &Settings::refLevelDbm),
      number("sweeptime", &Settings::sweepTimeS),
      {"points", [](const Settings& s) { return std::to_string(s.points); },
       [](Settings& s, const std::string& v) {
         const auto d = toDouble(v);
         if (!d || *d < 0 || *d > 1e9 || *d != static_cast<uint32_t>(*d)) return false;
         s.points = static_cast<uint32_t>(*d);
         return true;
       }},
      enumeration("unit", &Settings::unit, 13),
      enumeration("scale", &Settings::scale, 2),
      traceMode("trace1", 0),
      traceMode("trace2", 1),
      traceMode("trace3", 2),
      {"continuous", [](const Settings& s) { return std::string(s.continuous ? "1" : "0"); },
       [](Settings& s, const std::string& v) {
         if (v != "0" && v != "1") return false;
         s.continuous = v == "1";
         return true;
       }},
      enumeration("measurement", &Settings::measurement, 4),
      enumeration("format", &Settings::format, 3),
      enumeration("byteorder", &Settings::byteOrder, 2),
      enumeration("image", &Settings::imageFormat, 6),
  };
  return list;
}

}  // namespace

uint32_t crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string encodeSettingsImage(const Settings& settings) {
  std::string payload;
  for (const Field& f : fields()) payload += fmt::format("{}={}\n", f.name, f.get(settings));
  std::string image(kTag);
  putLe32(image, static_cast<uint32_t>(payload.size()));
  image += payload;
  putLe32(image, crc32(payload));
  return image;
}

std::optional<Settings> decodeSettingsImage(std::string_view image) {
  if (image.size() < kTag.size() + 8 || image.substr(0, kTag.size()) != kTag) return std::nullopt;
  const uint32_t length = getLe32(image.substr(kTag.size(), 4));
  if (image.size() != kTag.size() + 8 + static_cast<std::size_t>(length)) return std::nullopt;
  const std::string_view payload = image.substr(kTag.size() + 4, length);
  if (crc32(payload) != getLe32(image.substr(kTag.size() + 4 + length, 4))) return std::nullopt;

  std::map<std::string, std::string, std::less<>> values;
  std::size_t pos = 0;
  while (pos < payload.size()) {
    const std::size_t eol = payload.find('\n', pos);
    if (eol == std::string_view::npos) return std::nullopt;
    const std::string_view line = payload.substr(pos, eol - pos);
    pos = eol + 1;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (!values.emplace(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))).second)
      return std::nullopt;
  }
  if (values.size() != fields().size()) return std::nullopt;
  Settings settings;
  for (const Field& f : fields()) {
    const auto it = values.find(f.name);
    if (it == values.end() || !f.set(settings, it->second)) return std::nullopt;
  }
  if (!settings.valid()) return std::nullopt;
  return settings;
}

}  // namespace sim
