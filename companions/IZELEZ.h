#pragma once
// The instrument server "KroZEL.ZELEZ" as its callers bind to it: the interface "IZELEZ".
// ZELEZ implements it in this process; another module's server is seen through a late-bound
// view of it (companions/com).
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"
#include "companions/IZELDevice.h"

namespace kro {

class IZELEZ : public automation::Object {
 public:
  const automation::TypeInfo& typeInfo() const override;

  virtual std::shared_ptr<IZELDevice> Device() const = 0;
  // String(0 To n - 1).
  virtual automation::Variant SupportedModels() const = 0;
  virtual void SaveScreenImage(const std::string& fileName, int32_t format) = 0;
  // Double(1 To N).
  virtual automation::Variant GetTraceData(int16_t trace, bool repeated) = 0;
  // Double(1 To 3, 1 To N).
  virtual automation::Variant GetAllTraceData(bool repeated) = 0;

  virtual double StartFrequency() = 0;
  virtual double StopFrequency() = 0;
  virtual double CenterFrequency() = 0;
  virtual double Span() = 0;
  virtual double ResolutionBandwidth() = 0;
  virtual double VideoBandwidth() = 0;
  virtual double Attenuation() = 0;
  virtual double ReferenceLevel() = 0;
  virtual double SweepTime() = 0;
  virtual int32_t NumberOfPoints() = 0;
  // A Date.
  virtual automation::Variant InstrumentDateTime() = 0;
  virtual std::string AmplitudeUnits() = 0;
  virtual std::string ScaleType() = 0;
  virtual std::string TraceMode(int16_t trace) = 0;
  virtual int16_t SweepMode() = 0;
  virtual std::string MeasurementMode() = 0;
};

}  // namespace kro
