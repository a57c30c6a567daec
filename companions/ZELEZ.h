#pragma once
// The instrument server "KroZEL.ZELEZ": every instrument operation of the toolbar library, carried
// out in SCPI over the link its device object holds. Settings are read fresh on every call; the
// server caches nothing about the analyzer.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "automation/Variant.h"
#include "companions/IZELEZ.h"
#include "companions/ZELDevice.h"

namespace kro {

// Screen image formats of SaveScreenImage.
enum ScreenImageFormat : int32_t {
  screenImageMetafile = 4,     // a Windows metafile, for placing into a document
  screenImageByFileName = 100  // the format the file name's extension names
};

class ZELEZ : public IZELEZ {
 public:
  static constexpr const char* kProgId = "KroZEL.ZELEZ";
  static constexpr const char* kClassName = "ZELEZ";
  static constexpr const char* kClsid = "{3E8D4C20-9A57-4B0E-8F6C-1D2A7B5E9C03}";
  static constexpr const char* kIid = "{3E8D4C23-9A57-4B0E-8F6C-1D2A7B5E9C03}";
  // The longest sweep whose traces are read, in seconds: a transfer waits a sweep time plus two
  // seconds for them, and ten minutes is as long as anybody should wait without knowing it.
  // SweepTime raises NotSupported for a longer one rather than leave the caller waiting days.
  static constexpr double kMaxSweepTime = 600;

  ZELEZ();

  std::shared_ptr<IZELDevice> Device() const override { return device_; }
  // The device itself, for C++ callers of this process (trace format, link, identity).
  const std::shared_ptr<ZELDevice>& device() const { return device_; }
  // String(0 To n - 1).
  automation::Variant SupportedModels() const override;
  void SaveScreenImage(const std::string& fileName, int32_t format) override;
  // Double(1 To N). With `repeated` the analyzer first takes a fresh sweep and the data is of
  // that sweep; otherwise it is the trace as the analyzer holds it.
  automation::Variant GetTraceData(int16_t trace, bool repeated) override;
  // Double(1 To 3, 1 To N), every trace read, blank ones too.
  automation::Variant GetAllTraceData(bool repeated) override;

  double StartFrequency() override;
  double StopFrequency() override;
  double CenterFrequency() override;
  double Span() override;
  double ResolutionBandwidth() override;
  double VideoBandwidth() override;
  double Attenuation() override;
  double ReferenceLevel() override;
  double SweepTime() override;
  int32_t NumberOfPoints() override;
  // A Date.
  automation::Variant InstrumentDateTime() override;
  std::string AmplitudeUnits() override;
  std::string ScaleType() override;
  std::string TraceMode(int16_t trace) override;
  int16_t SweepMode() override;
  std::string MeasurementMode() override;

  // The image format code sent for a SaveScreenImage call ("WMF", "GIF", ...); raises BadArgument
  // for a format code or a file extension the server cannot produce.
  static std::string imageLanguage(const std::string& fileName, int32_t format);
  // The file a SaveScreenImage name means on this computer; raises FileFailed for a Windows path
  // on a drive that is not mapped.
  static std::filesystem::path imageFilePath(const std::string& fileName);

 private:
  double queryNumber(const char* command);
  std::string queryText(const char* command);
  void checkTrace(int16_t trace) const;

  std::shared_ptr<ZELDevice> device_;
};

}  // namespace kro
