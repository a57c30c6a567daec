#pragma once
// The discovery component's IO settings object ("KroDiscovery.CIOSettings"): the instrument link
// the user chose, the computer it is reached through, the supported models and the default link
// configurations. It saves and restores itself in the document's property bag, so that a saved
// document can attach the same link again when it is opened.
#include <string>

#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "automation/Variant.h"
#include "companions/ICIOSettings.h"

namespace kro {

class CIOSettings : public ICIOSettings {
 public:
  static constexpr const char* kProgId = "KroDiscovery.CIOSettings";
  static constexpr const char* kClassName = "CIOSettings";
  static constexpr const char* kClsid = "{2D4F8A10-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  // The host name that means this computer.
  static constexpr const char* kLocalHost = "My Computer";

  // The property-bag keys this object writes, in order.
  static constexpr const char* kKeyInstrumentClass = "IOSettingsInstrumentClass";
  static constexpr const char* kKeyHostName = "IOSettingsHostName";
  static constexpr const char* kKeyLinkAddress = "IOSettingsLinkAddress";

  // Its own empty collections until the host hands it others.
  CIOSettings();

  // The collections may be another module's: they are read by name (Count, Item).
  automation::ObjectPtr Models() const override { return models_; }
  void setModels(automation::ObjectPtr models) override { models_ = std::move(models); }
  std::string DiscoveryText() const override { return discoveryText_; }
  void setDiscoveryText(const std::string& text) override { discoveryText_ = text; }
  std::string InstrumentClass() const override { return instrumentClass_; }
  void setInstrumentClass(const std::string& text) override { instrumentClass_ = text; }
  // Only this component's IO link objects can be chosen; anything else raises 13.
  automation::ObjectPtr IoLink() const override { return ioLink_; }
  void setIoLink(automation::ObjectPtr link) override;
  automation::Variant HostName() const override { return hostName_; }
  void setHostName(const automation::Variant& host) override { hostName_ = host; }
  automation::ObjectPtr IoConfigurations() const override { return ioConfigurations_; }
  void setIoConfigurations(automation::ObjectPtr configurations) override {
    ioConfigurations_ = std::move(configurations);
  }

  // Writes the instrument class, the host and the link's address (empty without a link).
  void WriteProperties(automation::PropertyBag& bag) override;
  // Reads them back; an address makes a new link object for it, configured with the "RS232"
  // entry of IoConfigurations when there is one. The link is not opened here. An address that
  // no link understands raises, leaving the settings without a link.
  void ReadProperties(automation::PropertyBag& bag) override;

 private:
  automation::ObjectPtr models_;
  std::string discoveryText_;
  std::string instrumentClass_;
  automation::ObjectPtr ioLink_;
  automation::Variant hostName_{kLocalHost};
  automation::ObjectPtr ioConfigurations_;
};

}  // namespace kro
