#include "companions/CIOSettings.h"

#include "automation/Collection.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/IoLink.h"
#include "companions/IoLinkFactory.h"
#include "companions/RS232Config.h"

namespace kro {

using automation::Variant;

CIOSettings::CIOSettings()
    : models_(std::make_shared<automation::Collection>()),
      ioConfigurations_(std::make_shared<automation::Collection>()) {}

// The interface's members by dispatch id, for this class and for the views of another module's
// object alike.
const automation::TypeInfo& ICIOSettings::typeInfo() const {
  using Self = ICIOSettings;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(CIOSettings::kClassName)
          .interface(kIid, "_CIOSettings")
          .get("Models", 1, &Self::Models)
          .putRef("Models", 1, &Self::setModels)
          .get("DiscoveryText", 2, &Self::DiscoveryText)
          .put("DiscoveryText", 2, &Self::setDiscoveryText)
          .get("InstrumentClass", 3, &Self::InstrumentClass)
          .put("InstrumentClass", 3, &Self::setInstrumentClass)
          .get("IoLink", 4, &Self::IoLink)
          .putRef("IoLink", 4, &Self::setIoLink)
          .get("HostName", 5, &Self::HostName)
          .put("HostName", 5, &Self::setHostName)
          .get("IoConfigurations", 6, &Self::IoConfigurations)
          .putRef("IoConfigurations", 6, &Self::setIoConfigurations)
          .method("WriteProperties", 7,
                  [](Self& self, automation::DispatchArgs& args) {
                    self.WriteProperties(*automation::PropertyBag::argument(args.at(0)));
                  })
          .method("ReadProperties", 8,
                  [](Self& self, automation::DispatchArgs& args) {
                    self.ReadProperties(*automation::PropertyBag::argument(args.at(0)));
                  })
          .build();
  return info;
}

void CIOSettings::setIoLink(automation::ObjectPtr link) {
  if (link && !std::dynamic_pointer_cast<kro::IoLink>(link)) throw automation::Error::vb(automation::vbErrTypeMismatch);
  ioLink_ = std::move(link);
}

void CIOSettings::WriteProperties(automation::PropertyBag& bag) {
  bag.WriteProperty(kKeyInstrumentClass, Variant(instrumentClass_));
  bag.WriteProperty(kKeyHostName, Variant(automation::CStr(hostName_)));
  const auto link = std::dynamic_pointer_cast<kro::IoLink>(ioLink_);
  bag.WriteProperty(kKeyLinkAddress, Variant(link ? link->Address() : std::string()));
}

void CIOSettings::ReadProperties(automation::PropertyBag& bag) {
  instrumentClass_ = automation::CStr(bag.ReadProperty(kKeyInstrumentClass, Variant(std::string())));
  hostName_ = Variant(automation::CStr(bag.ReadProperty(kKeyHostName, Variant(kLocalHost))));
  const std::string address = automation::CStr(bag.ReadProperty(kKeyLinkAddress, Variant(std::string())));
  ioLink_ = nullptr;
  if (address.empty()) return;
  ioLink_ = makeIoLink(address, RS232Config::configured(ioConfigurations_));
}

}  // namespace kro
