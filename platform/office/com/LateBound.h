#pragma once
// One of the host's own Office objects (in the Windows build an IDispatch of another module), seen
// through the system's interface for it. Every member is a late-bound call by name, as the
// original's VB code made them: locale 1033, optional arguments that were left out passed as
// COM's "missing" value, failures raised as the automation error the host gave.
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "automation/Conversions.h"
#include "automation/Foreign.h"
#include "automation/Object.h"
#include "automation/Registry.h"
#include "automation/Variant.h"

namespace office::com {

// The locale every host call passes (US English), so that numbers and dates keep their meaning
// whatever the user's settings.
inline constexpr uint32_t kHostLocale = 1033;

// An argument left out: VT_ERROR DISP_E_PARAMNOTFOUND, which Office reads as missing.
inline automation::Variant missing() { return automation::Variant::error(automation::kParamNotFound); }

// The view of `object` as V. While a view is held, every reference to the same object (its
// identity, as COM's IUnknown) gets that view again: Excel hands out a new reference to a
// workbook on every call, and the system compares workbooks by the object it holds.
template <class V>
std::shared_ptr<V> viewOf(const automation::ObjectPtr& object) {
  static std::mutex mutex;
  static std::map<const void*, std::weak_ptr<V>> views;
  const auto* foreign = dynamic_cast<const automation::ForeignObject*>(object.get());
  const void* identity = foreign ? foreign->identity() : object.get();
  std::lock_guard lock(mutex);
  std::weak_ptr<V>& slot = views[identity];
  if (auto held = slot.lock()) return held;
  std::erase_if(views, [&](const auto& entry) { return entry.first != identity && entry.second.expired(); });
  auto made = std::make_shared<V>(object);
  slot = made;
  return made;
}

template <class Interface>
class LateBound : public Interface, public automation::ForeignView {
 public:
  explicit LateBound(automation::ObjectPtr target) : target_(std::move(target)) {
    automation::setLocale(target_, kHostLocale);
  }
  const automation::ObjectPtr& viewed() const override { return target_; }

  // Calls by name go to the host's object itself, members the interface lacks included.
  using Interface::invoke;
  automation::Variant invoke(std::string_view name, automation::DispatchKind kind,
                             automation::DispatchArgs& args) override {
    return target_->invoke(name, kind, args);
  }
  automation::Variant invoke(automation::DispId id, automation::DispatchKind kind,
                             automation::DispatchArgs& args) override {
    return target_->invoke(id, kind, args);
  }
  automation::DispId dispIdOf(std::string_view name) const override { return target_->dispIdOf(name); }

 protected:
  automation::Variant get(std::string_view name, automation::DispatchArgs args = {}) const {
    return send(name, automation::DispatchKind::PropertyGet, std::move(args));
  }
  automation::Variant call(std::string_view name, automation::DispatchArgs args = {}) const {
    return send(name, automation::DispatchKind::Method, std::move(args));
  }
  void put(std::string_view name, automation::Variant value) const {
    automation::DispatchArgs args{std::move(value)};
    target_->invoke(name, automation::DispatchKind::PropertyPut, args);
  }
  // "Set object.name = value": the object goes over as the object it is.
  void putRef(std::string_view name, automation::ObjectPtr value) const {
    automation::DispatchArgs args{automation::Variant(std::move(value))};
    target_->invoke(name, automation::DispatchKind::PropertyPutRef, args);
  }

  const automation::ObjectPtr& target() const { return target_; }

  // A returned object seen through the system's interface V; nullptr for Nothing.
  template <class V>
  static std::shared_ptr<V> view(const automation::Variant& value) {
    if (!value.isObject() || !value.asObject()) return nullptr;
    return viewOf<V>(value.asObject());
  }

 private:
  // Empty arguments of a get or a method are optional ones left out: trailing ones are not
  // passed at all, the others as missing.
  automation::Variant send(std::string_view name, automation::DispatchKind kind, automation::DispatchArgs args) const {
    while (!args.empty() && args.back().isEmpty()) args.pop_back();
    for (automation::Variant& arg : args)
      if (arg.isEmpty()) arg = missing();
    return target_->invoke(name, kind, args);
  }

  automation::ObjectPtr target_;
};

// The registry's view for another component's object as V; the library's own objects are what
// they are.
template <class V>
automation::Registry::View viewOfForeign() {
  return [](const automation::ObjectPtr& object) -> automation::ObjectPtr {
    if (!automation::isForeign(object)) return nullptr;
    return viewOf<V>(object);
  };
}

}  // namespace office::com
