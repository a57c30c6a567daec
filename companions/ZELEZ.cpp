#include "ZELEZ.h"

#include <fmt/format.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

#include "automation/Date.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/ReplyExcerpt.h"
#include "companions/TraceCodec.h"
#include "companions/TraceReader.h"
#include "companions/VisaAddress.h"
#include "win32/Win32.h"

// How each operation reaches the analyzer:
//
// | Operation                    | SCPI                                                         |
// |------------------------------|--------------------------------------------------------------|
// | Device.Model / SerialNumber  | *IDN? (maker,model,serial,firmware): field 2 / 3 / 4         |
// |   / Version                  |                                                              |
// | Device.IoSession putref      | *IDN?, the model checked against SupportedModels             |
// | Device.SetupState get        | :SYST:SET? (a definite-length block)                         |
// | Device.SetupState put        | *CLS, :SYST:SET #nL<image>, :SYST:ERR? (must be 0)           |
// | SaveScreenImage              | :HCOP:DEV:LANG WMF|GIF|BMP|JPEG|TIFF|EMF, :HCOP:DATA? (block)|
// | GetTraceData(t, repeated)    | [:INIT:IMM;*OPC?] :FORM REAL,32;:FORM:BORD SWAP,             |
// |                              | :TRAC:DATA? TRACEt                                           |
// | GetAllTraceData(repeated)    | [:INIT:IMM;*OPC?] the same format, :TRAC:DATA? TRACE1..3     |
// | StartFrequency               | :SENS:FREQ:STAR?                                             |
// | StopFrequency                | :SENS:FREQ:STOP?                                             |
// | CenterFrequency              | :SENS:FREQ:CENT?                                             |
// | Span                         | :SENS:FREQ:SPAN?                                             |
// | ResolutionBandwidth          | :SENS:BAND:RES?                                              |
// | VideoBandwidth               | :SENS:BAND:VID?                                              |
// | Attenuation                  | :SENS:POW:RF:ATT?                                            |
// | ReferenceLevel               | :DISP:WIND:TRAC:Y:RLEV?                                      |
// | SweepTime                    | :SENS:SWE:TIME?                                              |
// | NumberOfPoints               | :SENS:SWE:POIN?                                              |
// | InstrumentDateTime           | :SYST:DATE? (y,m,d) and :SYST:TIME? (h,m,s)                  |
// | AmplitudeUnits               | :UNIT:POW?                                                   |
// | ScaleType                    | :DISP:WIND:TRAC:Y:SPAC? (LOG or LIN)                         |
// | TraceMode(t)                 | :TRACt:MODE? (WRIT MAXH MINH VIEW BLAN)                      |
// | SweepMode                    | :INIT:CONT? (1 continuous, 0 single)                         |
// | MeasurementMode              | :CONF? (SAN CHP ACP NONE)                                    |
//
// With `repeated` True the trace operations first take a new sweep and wait for its end
// (:INIT:IMM;*OPC?), so each measurement of a repeated run has data of its own sweep even when
// the analyzer sweeps only on request; the caller's IoTimeout is what covers the sweep time.

namespace kro {

namespace {

std::string trimmedReply(std::string text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '"'; };
  size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The three comma-separated whole numbers of :SYST:DATE? or :SYST:TIME?.
bool threeNumbers(const std::string& reply, int (&out)[3]) {
  double values[3];
  if (parseAsciiValues(reply, values, 3) != 3) return false;
  for (int i = 0; i < 3; ++i) {
    if (!(values[i] >= -100000 && values[i] <= 100000) || values[i] != std::floor(values[i])) return false;
    out[i] = static_cast<int>(values[i]);
  }
  return true;
}

// The date and time the parts name, or nullopt when they name none: a 13th month or a 40th day
// is a fault of the analyzer's clock, not a date to carry over into the next year.
std::optional<automation::Date> validDate(const int (&d)[3], const int (&t)[3]) {
  try {
    const automation::Date date = automation::Date::fromParts(d[0], d[1], d[2], t[0], t[1], t[2]);
    const automation::DateParts p = date.parts();
    if (p.year == d[0] && p.month == d[1] && p.day == d[2] && p.hour == t[0] && p.minute == t[1] &&
        p.second == t[2])
      return date;
  } catch (const automation::Error&) {
  }
  return std::nullopt;
}

}  // namespace

ZELEZ::ZELEZ() : device_(std::make_shared<ZELDevice>()) {}

// The interface's members by dispatch id, for this class and for the views of another module's
// object alike.
const automation::TypeInfo& IZELEZ::typeInfo() const {
  using Self = IZELEZ;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(ZELEZ::kClassName)
          .interface(ZELEZ::kIid, "IZELEZ")
          .get("Device", 1, &Self::Device)
          .get("SupportedModels", 2, &Self::SupportedModels)
          .method("SaveScreenImage", 3, &Self::SaveScreenImage)
          .method("GetTraceData", 4, &Self::GetTraceData)
          .method("GetAllTraceData", 5, &Self::GetAllTraceData)
          .get("StartFrequency", 6, &Self::StartFrequency)
          .get("StopFrequency", 7, &Self::StopFrequency)
          .get("CenterFrequency", 8, &Self::CenterFrequency)
          .get("Span", 9, &Self::Span)
          .get("ResolutionBandwidth", 10, &Self::ResolutionBandwidth)
          .get("VideoBandwidth", 11, &Self::VideoBandwidth)
          .get("Attenuation", 12, &Self::Attenuation)
          .get("ReferenceLevel", 13, &Self::ReferenceLevel)
          .get("SweepTime", 14, &Self::SweepTime)
          .get("NumberOfPoints", 15, &Self::NumberOfPoints)
          .get("InstrumentDateTime", 16, &Self::InstrumentDateTime)
          .get("AmplitudeUnits", 17, &Self::AmplitudeUnits)
          .get("ScaleType", 18, &Self::ScaleType)
          .method("TraceMode", 19, &Self::TraceMode)
          .get("SweepMode", 20, &Self::SweepMode)
          .get("MeasurementMode", 21, &Self::MeasurementMode)
          .build();
  return info;
}

automation::Variant ZELEZ::SupportedModels() const {
  return automation::Variant(automation::SafeArray::ofStrings(ZELDevice::supportedModels(), 0));
}

double ZELEZ::queryNumber(const char* command) { return device_->session().queryNumber(command); }

std::string ZELEZ::queryText(const char* command) {
  return trimmedReply(device_->session().query(command));
}

void ZELEZ::checkTrace(int16_t trace) const {
  if (trace < 1 || trace > 3)
    throw companionError(ErrorCode::BadArgument,
                         fmt::format("There is no trace {}: the analyzer has traces 1, 2 and 3", trace));
}

double ZELEZ::StartFrequency() { return queryNumber(":SENS:FREQ:STAR?"); }
double ZELEZ::StopFrequency() { return queryNumber(":SENS:FREQ:STOP?"); }
double ZELEZ::CenterFrequency() { return queryNumber(":SENS:FREQ:CENT?"); }
double ZELEZ::Span() { return queryNumber(":SENS:FREQ:SPAN?"); }
double ZELEZ::ResolutionBandwidth() { return queryNumber(":SENS:BAND:RES?"); }
double ZELEZ::VideoBandwidth() { return queryNumber(":SENS:BAND:VID?"); }
double ZELEZ::Attenuation() { return queryNumber(":SENS:POW:RF:ATT?"); }
double ZELEZ::ReferenceLevel() { return queryNumber(":DISP:WIND:TRAC:Y:RLEV?"); }
double ZELEZ::SweepTime() {
  const double seconds = queryNumber(":SENS:SWE:TIME?");
  if (seconds > kMaxSweepTime)
    throw companionError(ErrorCode::NotSupported,
                         fmt::format("The analyzer at {} sweeps for {} s; traces are read from sweeps of at most "
                                     "{} s ({} minutes), the longest this server waits for one",
                                     device_->link()->Address(), seconds, kMaxSweepTime, kMaxSweepTime / 60));
  return seconds;
}

int32_t ZELEZ::NumberOfPoints() {
  const double points = queryNumber(":SENS:SWE:POIN?");
  if (!(points >= 1 && points <= 2147483647.0) || points != std::floor(points))
    throw companionError(ErrorCode::BadReply,
                         fmt::format(":SENS:SWE:POIN? to {} returned {} where a number of points was expected",
                                     device_->link()->Address(), points));
  return static_cast<int32_t>(points);
}

automation::Variant ZELEZ::InstrumentDateTime() {
  ScpiSession scpi = device_->session();
  const std::string date = scpi.query(":SYST:DATE?");
  const std::string time = scpi.query(":SYST:TIME?");
  int d[3], t[3];
  if (!threeNumbers(date, d) || !threeNumbers(time, t))
    throw companionError(ErrorCode::BadReply,
                         fmt::format(":SYST:DATE? and :SYST:TIME? to {} returned '{}' and '{}' where a date "
                                     "(year,month,day) and a time (hour,minute,second) were expected",
                                     scpi.link().Address(), replyExcerpt(date), replyExcerpt(time)));
  if (auto valid = validDate(d, t)) return automation::Variant(*valid);
  throw companionError(ErrorCode::BadReply,
                       fmt::format("{} gave the date {} and the time {}, which name no moment of the calendar",
                                   scpi.link().Address(), replyExcerpt(date), replyExcerpt(time)));
}

std::string ZELEZ::AmplitudeUnits() { return queryText(":UNIT:POW?"); }
std::string ZELEZ::ScaleType() { return queryText(":DISP:WIND:TRAC:Y:SPAC?"); }
std::string ZELEZ::MeasurementMode() { return queryText(":CONF?"); }

std::string ZELEZ::TraceMode(int16_t trace) {
  checkTrace(trace);
  return trimmedReply(device_->session().query(fmt::format(":TRAC{}:MODE?", trace)));
}

int16_t ZELEZ::SweepMode() {
  const double mode = queryNumber(":INIT:CONT?");
  return mode != 0 ? 1 : 0;
}

automation::Variant ZELEZ::GetTraceData(int16_t trace, bool repeated) {
  checkTrace(trace);
  ScpiSession scpi = device_->session();
  TraceReader reader(scpi, device_->traceFormat());
  if (repeated) reader.takeSweep();
  return automation::Variant(reader.readTrace(trace));
}

automation::Variant ZELEZ::GetAllTraceData(bool repeated) {
  ScpiSession scpi = device_->session();
  TraceReader reader(scpi, device_->traceFormat());
  if (repeated) reader.takeSweep();
  return automation::Variant(reader.readAllTraces());
}

std::string ZELEZ::imageLanguage(const std::string& fileName, int32_t format) {
  if (format == screenImageMetafile) return "WMF";
  if (format != screenImageByFileName)
    throw companionError(ErrorCode::BadArgument,
                         fmt::format("Screen image format {} is not known: use 4 for a metafile or 100 "
                                     "for the type the file name gives",
                                     format));
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of("/\\");
  const std::string extension =
      dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : fileName.substr(dot + 1);
  static constexpr std::pair<const char*, const char*> languages[] = {
      {"gif", "GIF"}, {"bmp", "BMP"}, {"wmf", "WMF"}, {"jpg", "JPEG"}, {"jpeg", "JPEG"},
      {"tif", "TIFF"}, {"tiff", "TIFF"}, {"emf", "EMF"},
  };
  for (const auto& [ext, language] : languages)
    if (equalsNoCase(extension, ext)) return language;
  throw companionError(ErrorCode::BadArgument,
                       fmt::format("Cannot save a screen image as '{}': the name must end in .gif, .bmp, "
                                   ".wmf, .jpg, .tif or .emf",
                                   fileName));
}

std::filesystem::path ZELEZ::imageFilePath(const std::string& fileName) {
  // Callers name files as Windows does ("C:\TEMP\t52001234.wmf"); such a name goes through the
  // machine's drive mapping, any other is a path of this computer.
  const bool windows = fileName.find('\\') != std::string::npos ||
                       (fileName.size() >= 2 && std::isalpha(static_cast<unsigned char>(fileName[0])) &&
                        fileName[1] == ':');
  if (!windows) return fileName;
  if (auto path = win32::toPosixPath(fileName)) return *path;
  throw companionError(ErrorCode::FileFailed,
                       fmt::format("Could not write the screen image to '{}': the drive is not available",
                                   fileName));
}

void ZELEZ::SaveScreenImage(const std::string& fileName, int32_t format) {
  const std::string language = imageLanguage(fileName, format);
  const std::filesystem::path path = imageFilePath(fileName);
  ScpiSession scpi = device_->session();
  scpi.write(":HCOP:DEV:LANG " + language);
  const std::vector<uint8_t> image = scpi.queryBlock(":HCOP:DATA?");
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  if (!file || !file.flush())
    throw companionError(ErrorCode::FileFailed,
                         fmt::format("Could not write the screen image to '{}': {}", fileName,
                                     std::strerror(errno)));
}

}  // namespace kro
