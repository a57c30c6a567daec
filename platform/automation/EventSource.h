#pragma once
// An object that raises events through outgoing interfaces, as COM's connection points do: a
// client connects a sink, an object with that interface's members, and the object calls the
// sink's members by dispatch id when an event happens.
#include <cstdint>
#include <string_view>

#include "Foreign.h"
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

// Connects `sink` to the events of `object` through `iid`, whether it is this library's object,
// another component's, or a view of one; 0 when it raises no such events.
inline uint32_t adviseEvents(ObjectPtr object, std::string_view iid, ObjectPtr sink) {
  if (auto* view = dynamic_cast<const ForeignView*>(object.get())) object = view->viewed();
  if (auto* source = dynamic_cast<EventSource*>(object.get()))
    return source->raisesEvents(iid) ? source->advise(iid, std::move(sink)) : 0;
  return adviseForeign(object, iid, std::move(sink));
}

inline void unadviseEvents(ObjectPtr object, std::string_view iid, uint32_t cookie) {
  if (auto* view = dynamic_cast<const ForeignView*>(object.get())) object = view->viewed();
  if (auto* source = dynamic_cast<EventSource*>(object.get())) return source->unadvise(iid, cookie);
  unadviseForeign(object, iid, cookie);
}

}  // namespace automation
