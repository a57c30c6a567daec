#include "control/ZELEventClass.h"

#include <algorithm>

#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"

namespace zel {

const automation::TypeInfo& ZELEventClass::typeInfo() const {
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<ZELEventClass>("ZELEventClass")
          .interface(kIid, "_ZELEventClass")
          .method("FireStopRepeatedMeasurements", 0x60030000, &ZELEventClass::FireStopRepeatedMeasurements)
          .build();
  return info;
}

uint32_t ZELEventClass::advise(std::shared_ptr<ZELEventClassEvents> sink) {
  if (!sink) throw automation::Error::vb(automation::vbErrObjectNotSet);
  std::erase_if(sinks_, [](const Sink& s) { return s.sink.expired(); });
  sinks_.push_back(Sink{nextCookie_, sink});
  return nextCookie_++;
}

void ZELEventClass::unadvise(uint32_t cookie) {
  std::erase_if(sinks_, [&](const Sink& s) { return s.cookie == cookie; });
}

void ZELEventClass::FireStopRepeatedMeasurements() {
  // A handler may connect or disconnect sinks: those connected when the event started are
  // called unless disconnected before their turn.
  const std::vector<Sink> snapshot = sinks_;
  for (const Sink& s : snapshot) {
    const bool stillConnected =
        std::any_of(sinks_.begin(), sinks_.end(), [&](const Sink& c) { return c.cookie == s.cookie; });
    if (!stillConnected) continue;
    if (auto sink = s.sink.lock()) sink->StopRepeatedMeasurements();
  }
}

}  // namespace zel
