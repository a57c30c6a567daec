#pragma once
// The discovery component's IO settings object "KroDiscovery.CIOSettings" as its callers bind
// to it: the interface "_CIOSettings". CIOSettings implements it in this process; another
// module's object is seen through a late-bound view of it (companions/com).
#include <string>

#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "automation/Variant.h"

namespace kro {

class ICIOSettings : public automation::Object {
 public:
  static constexpr const char* kIid = "{2D4F8A11-6B3C-4E7D-A1F2-9C5E0B7D4A61}";

  const automation::TypeInfo& typeInfo() const override;

  // The supported model names: a collection, each item keyed by the name itself.
  virtual automation::ObjectPtr Models() const = 0;
  virtual void setModels(automation::ObjectPtr models) = 0;
  virtual std::string DiscoveryText() const = 0;
  virtual void setDiscoveryText(const std::string& text) = 0;
  virtual std::string InstrumentClass() const = 0;
  virtual void setInstrumentClass(const std::string& text) = 0;
  // The chosen IO link object, or Nothing.
  virtual automation::ObjectPtr IoLink() const = 0;
  virtual void setIoLink(automation::ObjectPtr link) = 0;
  virtual automation::Variant HostName() const = 0;
  virtual void setHostName(const automation::Variant& host) = 0;
  // The default link configurations: a collection keyed by link kind ("RS232").
  virtual automation::ObjectPtr IoConfigurations() const = 0;
  virtual void setIoConfigurations(automation::ObjectPtr configurations) = 0;

  virtual void WriteProperties(automation::PropertyBag& bag) = 0;
  virtual void ReadProperties(automation::PropertyBag& bag) = 0;
};

}  // namespace kro
