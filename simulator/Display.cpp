#include "simulator/Display.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "simulator/Units.h"

namespace sim {
namespace {

constexpr Rgb kGraticule{96, 96, 96};
constexpr Rgb kAnnotation{0, 255, 0};

std::string trimZeros(std::string s) {
  if (s.find('.') == std::string::npos) return s;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

// Vertical pixel of a level: LOG scale puts the reference level at the top and 10 dB per
// division; LIN scale runs linearly in voltage from zero at the bottom to the reference.
int levelToY(double dbm, const Settings& s) {
  const double top = Display::kGridTop, height = Display::kGridHeight;
  double fraction;
  if (s.scale == Scale::Log) {
    fraction = (s.refLevelDbm - dbm) / 80.0;
  } else {
    fraction = 1.0 - std::pow(10.0, (dbm - s.refLevelDbm) / 20.0);
  }
  fraction = std::clamp(fraction, 0.0, 1.0);
  return static_cast<int>(std::lround(top + fraction * (height - 1)));
}

Display::Polyline traceLine(const std::vector<float>& values, const Settings& s, Rgb color) {
  Display::Polyline line{color, {}};
  const std::size_t n = values.size();
  if (n == 0) return line;
  const int columns = Display::kGridWidth;
  if (n <= static_cast<std::size_t>(columns)) {
    for (std::size_t i = 0; i < n; ++i) {
      const int x = Display::kGridLeft +
                    (n == 1 ? columns / 2
                            : static_cast<int>(std::lround(static_cast<double>(i) * (columns - 1) /
                                                           static_cast<double>(n - 1))));
      line.points.push_back({x, levelToY(values[i], s)});
    }
    return line;
  }
  // More points than pixels: each column shows the extremes of its points, as a peak display.
  for (int c = 0; c < columns; ++c) {
    const std::size_t a = n * static_cast<std::size_t>(c) / columns;
    const std::size_t b = std::max(a + 1, n * static_cast<std::size_t>(c + 1) / columns);
    const auto [lo, hi] = std::minmax_element(values.begin() + static_cast<long>(a),
                                              values.begin() + static_cast<long>(b));
    const int x = Display::kGridLeft + c;
    line.points.push_back({x, levelToY(*hi, s)});
    if (*lo != *hi) line.points.push_back({x, levelToY(*lo, s)});
  }
  return line;
}

std::string_view unitLabel(Unit unit) {
  static constexpr std::string_view labels[] = {"dBm", "dBmV",  "dBuV", "V",  "W",      "dBuV/m", "uV/m",
                                                "dBpT", "pT",   "dBG", "G", "dBuA/m", "uA/m"};
  return labels[static_cast<int>(unit)];
}

std::string levelText(double dbm, Unit unit) {
  const double v = fromDbm(dbm, unit);
  return isLinear(unit) ? fmt::format("{:.3e} {}", v, unitLabel(unit))
                        : fmt::format("{:.1f} {}", v, unitLabel(unit));
}

}  // namespace

std::string formatFrequency(double hz) {
  const double a = std::abs(hz);
  if (a >= 1e9) return fmt::format("{:.6f} GHz", hz / 1e9);
  if (a >= 1e6) return trimZeros(fmt::format("{:.6f}", hz / 1e6)) + " MHz";
  if (a >= 1e3) return trimZeros(fmt::format("{:.3f}", hz / 1e3)) + " kHz";
  return trimZeros(fmt::format("{:.3f}", hz)) + " Hz";
}

std::string formatTime(double seconds) {
  if (seconds >= 1) return trimZeros(fmt::format("{:.3f}", seconds)) + " s";
  if (seconds >= 1e-3) return trimZeros(fmt::format("{:.3f}", seconds * 1e3)) + " ms";
  return trimZeros(fmt::format("{:.3f}", seconds * 1e6)) + " us";
}

Display drawDisplay(const Settings& s, const std::array<const std::vector<float>*, 3>& traces) {
  Display d;
  const int left = Display::kGridLeft, top = Display::kGridTop;
  const int right = left + Display::kGridWidth - 1, bottom = top + Display::kGridHeight - 1;
  for (int i = 0; i <= 10; ++i) {
    const int x = left + (Display::kGridWidth - 1) * i / 10;
    d.lines.push_back({kGraticule, {{x, top}, {x, bottom}}});
  }
  for (int j = 0; j <= 8; ++j) {
    const int y = top + (Display::kGridHeight - 1) * j / 8;
    d.lines.push_back({kGraticule, {{left, y}, {right, y}}});
  }
  for (int t = 0; t < 3; ++t) {
    if (s.traceModes[static_cast<std::size_t>(t)] == TraceMode::Blank || !traces[static_cast<std::size_t>(t)])
      continue;
    auto line = traceLine(*traces[static_cast<std::size_t>(t)], s, kTraceColors[t]);
    if (!line.points.empty()) d.lines.push_back(std::move(line));
  }

  const int textTop = 8, row2 = top - Display::kCharHeight - 4;
  const int below = bottom + 10, below2 = below + Display::kCharHeight + 4;
  d.texts.push_back({kAnnotation, {left, textTop}, "Ref " + levelText(s.refLevelDbm, s.unit)});
  d.texts.push_back({kAnnotation, {left + 280, textTop}, fmt::format("Atten {:g} dB", s.attenuationDb)});
  d.texts.push_back({kAnnotation, {left, row2}, s.scale == Scale::Log ? "10 dB/div" : "Linear"});
  d.texts.push_back({kAnnotation, {left, below}, "Center " + formatFrequency(s.centerHz())});
  d.texts.push_back({kAnnotation, {left + 280, below}, "Span " + formatFrequency(s.spanHz())});
  d.texts.push_back({kAnnotation, {left, below2}, "RBW " + formatFrequency(s.rbwHz)});
  d.texts.push_back({kAnnotation, {left + 187, below2}, "VBW " + formatFrequency(s.vbwHz)});
  d.texts.push_back({kAnnotation, {left + 374, below2}, "Sweep " + formatTime(s.sweepTimeS)});
  return d;
}

}  // namespace sim
