#include "companions/UtilitiesRegistration.h"

#include <memory>

#include "companions/CIOSettings.h"
#include "companions/ComponentVersionInfo.h"
#include "companions/InstrumentState.h"
#include "companions/ItemState.h"
#include "companions/ItemStateInfo.h"
#include "companions/KroDiscoveryCtl.h"
#include "companions/VCUtilities.h"

namespace kro {
namespace {

constexpr const char* kUtilitiesLib = "{7C1B5E3F-44A2-4D8E-9B61-2F0E8A7D3C51}";
constexpr const char* kDiscoveryLib = "{2D4F8A1F-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
constexpr const char* kSetupsLib = "{5B8E2C4F-93D1-4F6A-8C27-1E4D7A9B3F02}";
constexpr const char* kVersionLib = "{9A3E6C7F-1F2B-4D5A-8E7C-3B1D0F9A6E21}";
constexpr const char* kUtilitiesFile = R"(C:\Program Files\Common Files\Kro\KroInstrUtilities.dll)";
constexpr const char* kDiscoveryFile = R"(C:\Program Files\Common Files\Kro\KroDiscovery.ocx)";
constexpr const char* kSetupsFile = R"(C:\Program Files\Common Files\Kro\KroInstrSetups.ocx)";
constexpr const char* kVersionFile = R"(C:\Program Files\Common Files\Kro\NDXLServers.dll)";

automation::ComponentVersion version(const char* fileVersion, const char* description, const char* buildDate) {
  return {fileVersion,
          "2.1",
          {{"CompanyName", "Corvane"},
           {"FileDescription", description},
           {"ProductName", "ORV/ZEL Instrument Components"},
           {"LegalCopyright", "Copyright (C) Corvane"},
           {"BuildDate", buildDate}}};
}

struct Entry {
  const char* progId;
  const char* clsid;
  const char* className;
  const char* iid;
  const char* interfaceName;
  const char* typeLib;
  const char* typeLibName;
  const char* file;
  automation::ComponentVersion version;
  automation::Factory factory;
};

std::vector<Entry> entries() {
  return {
      {VCUtilities::kProgId, VCUtilities::kClsid, VCUtilities::kClassName, VCUtilities::kIid, "_VCUtilities",
       kUtilitiesLib, "KroInstrUtilities 2.1 Type Library", kUtilitiesFile,
       version("2.1.0.4", "Instrument utilities", "03/14/2025"), [] { return std::make_shared<VCUtilities>(); }},
      {CIOSettings::kProgId, CIOSettings::kClsid, CIOSettings::kClassName, CIOSettings::kIid, "_CIOSettings",
       kDiscoveryLib, "KroDiscovery 2.1 Type Library", kDiscoveryFile,
       version("2.1.0.9", "Instrument discovery", "05/02/2025"), [] { return std::make_shared<CIOSettings>(); }},
      {KroDiscoveryCtl::kProgId, KroDiscoveryCtl::kClsid, KroDiscoveryCtl::kClassName, KroDiscoveryCtl::kIid,
       "_KroDiscoveryCtl", kDiscoveryLib, "KroDiscovery 2.1 Type Library", kDiscoveryFile,
       version("2.1.0.9", "Instrument discovery", "05/02/2025"), [] { return std::make_shared<KroDiscoveryCtl>(); }},
      {ItemStateInfo::kProgId, ItemStateInfo::kClsid, ItemStateInfo::kClassName, ItemStateInfo::kIid,
       "_ItemStateInfo", kSetupsLib, "KroInstrSetups 2.1 Type Library", kSetupsFile,
       version("2.1.0.3", "Instrument setups", "04/11/2025"), [] { return std::make_shared<ItemStateInfo>(); }},
      {ItemState::kProgId, ItemState::kClsid, ItemState::kClassName, ItemState::kIid, "_ItemState", kSetupsLib,
       "KroInstrSetups 2.1 Type Library", kSetupsFile, version("2.1.0.3", "Instrument setups", "04/11/2025"),
       [] { return std::make_shared<ItemState>(); }},
      {InstrumentState::kProgId, InstrumentState::kClsid, InstrumentState::kClassName, InstrumentState::kIid,
       "_InstrumentState", kSetupsLib, "KroInstrSetups 2.1 Type Library", kSetupsFile,
       version("2.1.0.3", "Instrument setups", "04/11/2025"), [] { return std::make_shared<InstrumentState>(); }},
      {ComponentVersionInfo::kProgId, ComponentVersionInfo::kClsid, ComponentVersionInfo::kClassName,
       ComponentVersionInfo::kIid, "_ComponentVersionInfo", kVersionLib, "NDXLServers 1.4 Type Library", kVersionFile,
       version("1.4.0.2", "Component version information", "11/20/2024"),
       [] { return std::make_shared<ComponentVersionInfo>(); }},
  };
}

}  // namespace

void registerUtilities(automation::Registry& registry) {
  for (Entry& e : entries()) {
    registry.registerTypeLib({e.typeLib, e.typeLibName, "2.1", e.file});
    registry.registerInterface({e.iid, e.interfaceName, e.typeLib});
    registry.registerClass({e.progId, e.clsid, e.className, e.file, std::move(e.version), {e.iid}, e.typeLib, true,
                            std::move(e.factory)});
  }
}

void unregisterUtilities(automation::Registry& registry) {
  for (const Entry& e : entries()) {
    registry.unregisterClass(e.clsid);
    registry.unregisterInterface(e.iid);
    registry.unregisterTypeLib(e.typeLib);
  }
}

}  // namespace kro
