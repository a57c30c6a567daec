#pragma once
// The analyzer's screen as a list of drawing primitives, so that raster images and metafiles
// draw exactly the same picture: a 640 x 480 black screen, a 10 x 8 division graticule, the
// traces in yellow, cyan and magenta, and the settings annotated around the graticule.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "simulator/Settings.h"

namespace sim {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

struct Point {
  int x, y;
};

struct Display {
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kGridLeft = 40, kGridTop = 40, kGridWidth = 560, kGridHeight = 400;
  static constexpr int kCharWidth = 6, kCharHeight = 13;  // the annotation font's cell

  struct Polyline {
    Rgb color;
    std::vector<Point> points;
  };
  struct Text {
    Rgb color;
    Point origin;  // top left of the first character cell
    std::string text;
  };

  Rgb background{0, 0, 0};
  std::vector<Polyline> lines;  // drawn in order: graticule first, then traces
  std::vector<Text> texts;
};

inline constexpr Rgb kTraceColors[3] = {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}};

// `traces` are in dBm, one per trace, shown unless their mode is BLAN.
Display drawDisplay(const Settings& settings, const std::array<const std::vector<float>*, 3>& traces);

// "1.800000 GHz", "300 kHz", "100 ms": the annotation forms of frequencies and times.
std::string formatFrequency(double hz);
std::string formatTime(double seconds);

}  // namespace sim
