#pragma once
// Another component's object, which this library knows only by its members' names (the host's
// Excel behind IDispatch), and the library's objects that stand for one through one of the
// system's interfaces. The system's office interfaces see such an object through views that
// call it late-bound (office/com).
#include <cstdint>
#include <string_view>

#include "Object.h"

namespace automation {

// DISP_E_PARAMNOTFOUND: an optional argument left out goes to another component as this error
// value, which it reads as missing.
inline constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004);

class ForeignObject : public Object {
 public:
  // The locale its calls pass (the host reads numbers and dates by it); the objects its calls
  // return inherit it.
  virtual void setLocale(uint32_t locale) = 0;
  // What makes two references one object (in COM its IUnknown): views of one object are one
  // view, so that the system compares them as it compares its own objects.
  virtual const void* identity() const { return this; }
  // Connects `sink` to the object's events through the interface `iid`, its members called by
  // dispatch id; 0 when the object raises no such events.
  virtual uint32_t advise(std::string_view, ObjectPtr) { return 0; }
  virtual void unadvise(std::string_view, uint32_t) {}
};

inline bool isForeign(const ObjectPtr& object) { return dynamic_cast<const ForeignObject*>(object.get()) != nullptr; }

inline void setLocale(const ObjectPtr& object, uint32_t locale) {
  if (auto* foreign = dynamic_cast<ForeignObject*>(object.get())) foreign->setLocale(locale);
}

// Connects `sink` to another component's events through `iid`; 0 when it raises none.
inline uint32_t adviseForeign(const ObjectPtr& object, std::string_view iid, ObjectPtr sink) {
  auto* foreign = dynamic_cast<ForeignObject*>(object.get());
  return foreign ? foreign->advise(iid, std::move(sink)) : 0;
}

inline void unadviseForeign(const ObjectPtr& object, std::string_view iid, uint32_t cookie) {
  if (auto* foreign = dynamic_cast<ForeignObject*>(object.get())) foreign->unadvise(iid, cookie);
}

// An object of this library that stands for another component's object: handed back to that
// component, it is that object again.
class ForeignView {
 public:
  virtual ~ForeignView() = default;
  virtual const ObjectPtr& viewed() const = 0;
};

}  // namespace automation
