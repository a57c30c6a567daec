#pragma once
// Another component's object, which this library knows only by its members' names (the host's
// Excel behind IDispatch), and the library's objects that stand for one through one of the
// system's interfaces. The system's office interfaces see such an object through views that
// call it late-bound (office/com).
#include <cstdint>

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
};

inline bool isForeign(const ObjectPtr& object) { return dynamic_cast<const ForeignObject*>(object.get()) != nullptr; }

inline void setLocale(const ObjectPtr& object, uint32_t locale) {
  if (auto* foreign = dynamic_cast<ForeignObject*>(object.get())) foreign->setLocale(locale);
}

// An object of this library that stands for another component's object: handed back to that
// component, it is that object again.
class ForeignView {
 public:
  virtual ~ForeignView() = default;
  virtual const ObjectPtr& viewed() const = 0;
};

}  // namespace automation
