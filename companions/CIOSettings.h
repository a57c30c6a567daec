#pragma once
// The discovery component's IO settings object ("KroDiscovery.CIOSettings"): the instrument link
// the user chose, the computer it is reached through, the supported models and the default link
// configurations. It saves and restores itself in the document's property bag, so that a saved
// document can attach the same link again when it is opened.
#include <string>

#include "automation/Collection.h"
#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "automation/Variant.h"

namespace kro {

class CIOSettings : public automation::Object {
 public:
  static constexpr const char* kProgId = "KroDiscovery.CIOSettings";
  static constexpr const char* kClassName = "CIOSettings";
  static constexpr const char* kClsid = "{2D4F8A10-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  static constexpr const char* kIid = "{2D4F8A11-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  // The host name that means this computer.
  static constexpr const char* kLocalHost = "My Computer";

  // The property-bag keys this object writes, in order.
  static constexpr const char* kKeyInstrumentClass = "IOSettingsInstrumentClass";
  static constexpr const char* kKeyHostName = "IOSettingsHostName";
  static constexpr const char* kKeyLinkAddress = "IOSettingsLinkAddress";

  CIOSettings();
  const automation::TypeInfo& typeInfo() const override;

  std::shared_ptr<automation::Collection> Models() const { return models_; }
  void setModels(std::shared_ptr<automation::Collection> models) { models_ = std::move(models); }
  std::string DiscoveryText() const { return discoveryText_; }
  void setDiscoveryText(const std::string& text) { discoveryText_ = text; }
  std::string InstrumentClass() const { return instrumentClass_; }
  void setInstrumentClass(const std::string& text) { instrumentClass_ = text; }
  // The chosen IO link object, or Nothing.
  automation::ObjectPtr IoLink() const { return ioLink_; }
  void setIoLink(automation::ObjectPtr link);
  automation::Variant HostName() const { return hostName_; }
  void setHostName(const automation::Variant& host) { hostName_ = host; }
  std::shared_ptr<automation::Collection> IoConfigurations() const { return ioConfigurations_; }
  void setIoConfigurations(std::shared_ptr<automation::Collection> configurations) {
    ioConfigurations_ = std::move(configurations);
  }

  // Writes the instrument class, the host and the link's address (empty without a link).
  void WriteProperties(automation::PropertyBag& bag);
  // Reads them back; an address makes a new link object for it, configured with the "RS232"
  // entry of IoConfigurations when there is one. The link is not opened here. An address that
  // no link understands raises, leaving the settings without a link.
  void ReadProperties(automation::PropertyBag& bag);

 private:
  std::shared_ptr<automation::Collection> models_;
  std::string discoveryText_;
  std::string instrumentClass_;
  automation::ObjectPtr ioLink_;
  automation::Variant hostName_{kLocalHost};
  std::shared_ptr<automation::Collection> ioConfigurations_;
};

}  // namespace kro
