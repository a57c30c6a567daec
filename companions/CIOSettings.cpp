#include "companions/CIOSettings.h"

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

const automation::TypeInfo& CIOSettings::typeInfo() const {
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<CIOSettings>(kClassName)
          .interface(kIid, "_CIOSettings")
          .get("Models", 1, &CIOSettings::Models)
          .putRef("Models", 1, &CIOSettings::setModels)
          .get("DiscoveryText", 2, &CIOSettings::DiscoveryText)
          .put("DiscoveryText", 2, &CIOSettings::setDiscoveryText)
          .get("InstrumentClass", 3, &CIOSettings::InstrumentClass)
          .put("InstrumentClass", 3, &CIOSettings::setInstrumentClass)
          .get("IoLink", 4, &CIOSettings::IoLink)
          .putRef("IoLink", 4, &CIOSettings::setIoLink)
          .get("HostName", 5, &CIOSettings::HostName)
          .put("HostName", 5, &CIOSettings::setHostName)
          .get("IoConfigurations", 6, &CIOSettings::IoConfigurations)
          .putRef("IoConfigurations", 6, &CIOSettings::setIoConfigurations)
          .method("WriteProperties", 7,
                  [](CIOSettings& self, automation::DispatchArgs& args) {
                    self.WriteProperties(*automation::PropertyBag::argument(args.at(0)));
                  })
          .method("ReadProperties", 8,
                  [](CIOSettings& self, automation::DispatchArgs& args) {
                    self.ReadProperties(*automation::PropertyBag::argument(args.at(0)));
                  })
          .build();
  return info;
}

void CIOSettings::setIoLink(automation::ObjectPtr link) {
  // Only IO link objects can be chosen; anything else is refused as the interface would.
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
  RS232Config serial;
  if (ioConfigurations_ && ioConfigurations_->containsKey("RS232")) {
    if (auto configured = ioConfigurations_->Item(Variant("RS232")).objectAs<RS232Config>()) serial = *configured;
  }
  ioLink_ = makeIoLink(address, serial);
}

}  // namespace kro
