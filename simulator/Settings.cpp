#include "simulator/Settings.h"

#include <cmath>

namespace sim {
namespace {

template <class E, std::size_t N>
std::optional<E> lookup(const std::array<std::pair<std::string_view, E>, N>& table,
                        std::string_view word) {
  for (const auto& [name, value] : table)
    if (name == word) return value;
  return std::nullopt;
}

}  // namespace

bool Settings::valid() const {
  auto within = [](double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; };
  return within(startHz, 0, Limits::maxFrequencyHz) && within(stopHz, startHz, Limits::maxFrequencyHz) &&
         within(rbwHz, Limits::minRbwHz, Limits::maxRbwHz) &&
         within(vbwHz, Limits::minVbwHz, Limits::maxVbwHz) &&
         within(attenuationDb, 0, Limits::maxAttenuationDb) &&
         within(refLevelDbm, Limits::minRefLevelDbm, Limits::maxRefLevelDbm) &&
         within(sweepTimeS, Limits::minSweepTimeS, Limits::maxSweepTimeS) &&
         points >= Limits::minPoints && points <= Limits::maxPoints;
}

std::string_view code(Unit u) {
  static constexpr std::string_view names[] = {"DBM", "DBMV", "DBUV",  "V",   "W",     "DBUVM", "UVM",
                                               "DBPT", "PT",  "DBG", "GAUS", "DBUAM", "UAM"};
  return names[static_cast<int>(u)];
}
std::string_view code(Scale s) { return s == Scale::Log ? "LOG" : "LIN"; }
std::string_view code(TraceMode m) {
  static constexpr std::string_view names[] = {"WRIT", "MAXH", "MINH", "VIEW", "BLAN"};
  return names[static_cast<int>(m)];
}
std::string_view code(Measurement m) {
  static constexpr std::string_view names[] = {"NONE", "SAN", "CHP", "ACP"};
  return names[static_cast<int>(m)];
}
std::string_view code(ByteOrder b) { return b == ByteOrder::Normal ? "NORM" : "SWAP"; }
std::string_view code(ImageFormat f) {
  static constexpr std::string_view names[] = {"GIF", "BMP", "JPEG", "TIFF", "WMF", "EMF"};
  return names[static_cast<int>(f)];
}

std::optional<Unit> unitFromCode(std::string_view w) {
  static constexpr std::array<std::pair<std::string_view, Unit>, 15> table{{
      {"DBM", Unit::DBM}, {"DBMV", Unit::DBMV}, {"DBUV", Unit::DBUV}, {"V", Unit::V},
      {"VOLT", Unit::V}, {"W", Unit::W}, {"WATT", Unit::W}, {"DBUVM", Unit::DBUVM},
      {"UVM", Unit::UVM}, {"DBPT", Unit::DBPT}, {"PT", Unit::PT}, {"DBG", Unit::DBG},
      {"GAUS", Unit::GAUS}, {"GAUSS", Unit::GAUS}, {"DBUAM", Unit::DBUAM},
  }};
  if (w == "UAM") return Unit::UAM;
  return lookup(table, w);
}

std::optional<Scale> scaleFromCode(std::string_view w) {
  static constexpr std::array<std::pair<std::string_view, Scale>, 4> table{{
      {"LOG", Scale::Log}, {"LOGARITHMIC", Scale::Log}, {"LIN", Scale::Lin}, {"LINEAR", Scale::Lin}}};
  return lookup(table, w);
}

std::optional<TraceMode> traceModeFromCode(std::string_view w) {
  static constexpr std::array<std::pair<std::string_view, TraceMode>, 9> table{{
      {"WRIT", TraceMode::Write}, {"WRITE", TraceMode::Write}, {"MAXH", TraceMode::MaxHold},
      {"MAXHOLD", TraceMode::MaxHold}, {"MINH", TraceMode::MinHold}, {"MINHOLD", TraceMode::MinHold},
      {"VIEW", TraceMode::View}, {"BLAN", TraceMode::Blank}, {"BLANK", TraceMode::Blank}}};
  return lookup(table, w);
}

std::optional<ByteOrder> byteOrderFromCode(std::string_view w) {
  static constexpr std::array<std::pair<std::string_view, ByteOrder>, 4> table{{
      {"NORM", ByteOrder::Normal}, {"NORMAL", ByteOrder::Normal}, {"SWAP", ByteOrder::Swapped},
      {"SWAPPED", ByteOrder::Swapped}}};
  return lookup(table, w);
}

std::optional<ImageFormat> imageFormatFromCode(std::string_view w) {
  static constexpr std::array<std::pair<std::string_view, ImageFormat>, 8> table{{
      {"GIF", ImageFormat::Gif}, {"BMP", ImageFormat::Bmp}, {"JPEG", ImageFormat::Jpeg},
      {"JPG", ImageFormat::Jpeg}, {"TIFF", ImageFormat::Tiff}, {"TIF", ImageFormat::Tiff},
      {"WMF", ImageFormat::Wmf}, {"EMF", ImageFormat::Emf}}};
  return lookup(table, w);
}

}  // namespace sim
