#pragma once
// The in-memory Office as another component, in the Linux build: the system sees it through
// the same late-bound views as the host's Office in the Windows build, and every call the views
// make into it goes into a log, written as the Windows test servers write theirs (CallLine.h).
// A call goes by name to a dispatch id and by id to the member, as it does through IDispatch,
// so that a name the in-memory Office does not know fails here as it fails there. An object the
// caller passed over comes back to it as its own, as COM hands a module its own objects back.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/Object.h"

#include "automation/Foreign.h"

namespace zeltest {

using CallRecord = std::vector<std::string>;

class RecordedObject final : public automation::ForeignObject {
 public:
  // LOCALE_USER_DEFAULT, the locale of a call until the caller chooses one.
  static constexpr uint32_t kUserDefaultLocale = 0x400;

  RecordedObject(automation::ObjectPtr inner, std::shared_ptr<CallRecord> record,
                 uint32_t locale = kUserDefaultLocale);
  // The caller's objects passed over to the other side so far, shared by the objects of one
  // other side.
  using Passed = std::vector<std::weak_ptr<automation::Object>>;

  const automation::ObjectPtr& inner() const { return inner_; }

  const automation::TypeInfo& typeInfo() const override { return info_; }
  void setLocale(uint32_t locale) override { locale_ = locale; }
  const void* identity() const override { return inner_.get(); }
  // Events come from the in-memory Office itself, not through the log.
  uint32_t advise(std::string_view iid, automation::ObjectPtr sink) override;
  void unadvise(std::string_view iid, uint32_t cookie) override;
  automation::DispId dispIdOf(std::string_view name) const override;
  automation::Variant invoke(std::string_view name, automation::DispatchKind kind,
                             automation::DispatchArgs& args) override;
  automation::Variant invoke(automation::DispId id, automation::DispatchKind kind,
                             automation::DispatchArgs& args) override;

 private:
  automation::ObjectPtr inner_;
  std::shared_ptr<CallRecord> record_;
  automation::TypeInfo info_;
  uint32_t locale_;
  std::shared_ptr<Passed> passed_ = std::make_shared<Passed>();
};

}  // namespace zeltest
