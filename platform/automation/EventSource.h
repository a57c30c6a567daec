#pragma once
// An object that raises events through outgoing interfaces, as COM's connection points do: a
// client connects a sink, an object with that interface's members, and the object calls the
// sink's members by dispatch id when an event happens.
#include <cstdint>
#include <string_view>

#include "Object.h"

namespace automation {

class EventSource {
 public:
  virtual ~EventSource() = default;
  // Whether events go out through the interface `iid`.
  virtual bool raisesEvents(std::string_view iid) const = 0;
  // Connects `sink` to `iid`; the cookie disconnects it.
  virtual uint32_t advise(std::string_view iid, ObjectPtr sink) = 0;
  // Disconnects; an unknown cookie is ignored.
  virtual void unadvise(std::string_view iid, uint32_t cookie) = 0;
};

}  // namespace automation
