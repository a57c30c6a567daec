#pragma once
// Everything the analyzer remembers as a setting: what *RST restores, what the settings image
// carries and what *LRN? lists. Traces, status registers and the error queue are not settings.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

enum class Unit { DBM, DBMV, DBUV, V, W, DBUVM, UVM, DBPT, PT, DBG, GAUS, DBUAM, UAM };
enum class Scale { Log, Lin };
enum class TraceMode { Write, MaxHold, MinHold, View, Blank };
enum class Measurement { None, SweptAnalyzer, ChannelPower, AdjacentChannelPower };
enum class DataFormat { Ascii, Real32, Real64 };
enum class ByteOrder { Normal, Swapped };  // Normal is big-endian
enum class ImageFormat { Gif, Bmp, Jpeg, Tiff, Wmf, Emf };

// The instrument's ranges.
struct Limits {
  static constexpr double maxFrequencyHz = 3.6e9;
  static constexpr double minRbwHz = 1, maxRbwHz = 10e6;
  static constexpr double minVbwHz = 1, maxVbwHz = 10e6;
  static constexpr double maxAttenuationDb = 70;
  static constexpr double minRefLevelDbm = -170, maxRefLevelDbm = 30;
  static constexpr double minSweepTimeS = 1e-6, maxSweepTimeS = 16000;
  static constexpr uint32_t minPoints = 1, maxPoints = 100001;
};

struct Settings {
  double startHz = 0;
  double stopHz = 3.6e9;
  double rbwHz = 3e6;
  double vbwHz = 3e6;
  double attenuationDb = 10;
  double refLevelDbm = 0;
  double sweepTimeS = 0.1;
  uint32_t points = 1001;
  Unit unit = Unit::DBM;
  Scale scale = Scale::Log;
  std::array<TraceMode, 3> traceModes{TraceMode::Write, TraceMode::Blank, TraceMode::Blank};
  bool continuous = true;
  Measurement measurement = Measurement::SweptAnalyzer;
  DataFormat format = DataFormat::Ascii;
  ByteOrder byteOrder = ByteOrder::Normal;
  ImageFormat imageFormat = ImageFormat::Gif;

  double centerHz() const { return (startHz + stopHz) / 2; }
  double spanHz() const { return stopHz - startHz; }
  // Every value within the instrument's ranges and start <= stop.
  bool valid() const;
  bool operator==(const Settings&) const = default;
};

// The codes the analyzer answers with ("DBM", "MAXH", "SAN", "GIF"...), and their inverses,
// which also take the long forms a user may type (MAXHold, GAUSS, JPG...).
std::string_view code(Unit);
std::string_view code(Scale);
std::string_view code(TraceMode);
std::string_view code(Measurement);
std::string_view code(ByteOrder);
std::string_view code(ImageFormat);
std::optional<Unit> unitFromCode(std::string_view upper);
std::optional<Scale> scaleFromCode(std::string_view upper);
std::optional<TraceMode> traceModeFromCode(std::string_view upper);
std::optional<ByteOrder> byteOrderFromCode(std::string_view upper);
std::optional<ImageFormat> imageFormatFromCode(std::string_view upper);

}  // namespace sim
