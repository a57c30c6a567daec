#pragma once
// ZELEventClass: an event source offered to the library's clients. Whoever holds one raises
// StopRepeatedMeasurements through FireStopRepeatedMeasurements, and every connected sink hears
// it; the library itself neither creates one nor raises the event.
#include <cstdint>
#include <memory>
#include <vector>

#include "automation/Object.h"

namespace zel {

// The event interface __ZELEventClass. A sink overrides what it wants and is connected with
// ZELEventClass::advise.
class ZELEventClassEvents {
 public:
  virtual ~ZELEventClassEvents() = default;
  virtual void StopRepeatedMeasurements() {}
};

class ZELEventClass final : public automation::Object {
 public:
  static constexpr const char* kProgId = "ZELControlProj.ZELEventClass";
  static constexpr const char* kClsid = "{E53D573A-FE2B-4EB5-8493-54A4F3163201}";
  static constexpr const char* kIid = "{B4777B82-923D-4C3E-B58C-138DA752DA96}";
  static constexpr const char* kEventIid = "{52EE33D8-6B4D-4D6A-8DC5-D134DC27A227}";
  static constexpr automation::DispId kStopRepeatedMeasurementsId = 1;

  void FireStopRepeatedMeasurements();

  // The source holds its sinks weakly: a sink that goes away is simply no longer called.
  uint32_t advise(std::shared_ptr<ZELEventClassEvents> sink);
  void unadvise(uint32_t cookie);

  const automation::TypeInfo& typeInfo() const override;

 private:
  struct Sink {
    uint32_t cookie;
    std::weak_ptr<ZELEventClassEvents> sink;
  };
  std::vector<Sink> sinks_;
  uint32_t nextCookie_ = 1;
};

}  // namespace zel
