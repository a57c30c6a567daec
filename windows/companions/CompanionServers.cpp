// ZELCompanions.dll: the companion components as COM classes: the instrument server
// "KroZEL.ZELEZ" with its device and IO links, the RS-232 configuration, the discovery
// component's IO settings and control, the utilities, the instrument setups and the component
// version information. One module stands in for the several files the maker installs, so each
// of their classes is registered with this module as its server. Objects that pass between
// them (a link from the IO settings into the device's IoSession) come back to this module as
// its own objects, not as foreign ones.
#include <set>
#include <string>

#include "automation/Registry.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "companions/VCUtilities.h"
#include "forms/DispatchDesktop.h"

#include "automation/com/ComControlSite.h"
#include "automation/com/ComObjects.h"
#include "automation/com/ComServer.h"

#include <olectl.h>

namespace {

HMODULE thisModule = nullptr;

automation::Registry& companions() {
  static automation::Registry& registry = [&]() -> automation::Registry& {
    automation::Registry& r = automation::registry();
    kro::registerInstrumentServer(r);
    kro::registerUtilities(r);
    r.setOutsideFactory(automation::com::createComObject);
    // The discovery control tells the person itself when nobody answers at an address.
    forms::DispatchDesktop::chooseForTestRun();
    // The controls the utilities are asked about are the library's, placed by the host's
    // container: their OLE client site tells where.
    kro::VCUtilities::setForeignPlacement(
        [](const automation::ObjectPtr& control) -> std::optional<kro::VCUtilities::Placement> {
          const auto site = automation::com::clientSiteOf(control);
          if (!site) return std::nullopt;
          return kro::VCUtilities::Placement{site->document, site->hwnd};
        });
    return r;
  }();
  return registry;
}

// The maker's files whose classes this module serves.
std::set<std::string> companionFiles() {
  std::set<std::string> files;
  for (const automation::ClassRegistration& c : companions().classes()) files.insert(c.filePath);
  return files;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT STDAPICALLTYPE DllRegisterServer() {
  try {
    for (const std::string& file : companionFiles()) {
      const HRESULT hr =
          automation::com::registerServer(companions(), file, automation::com::modulePath(thisModule), "");
      if (FAILED(hr)) return hr;
    }
    return S_OK;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  try {
    for (const std::string& file : companionFiles()) automation::com::unregisterServer(companions(), file, "");
    return S_OK;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return automation::com::getClassObject(clsid, iid, out, [](const std::string& clsid) -> automation::Factory {
    // The device and the links come from their owners only: they have no factory.
    const automation::ClassRegistration* c = companions().findClass(clsid);
    return c ? c->factory : nullptr;
  });
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return automation::com::canUnloadNow(); }

}  // extern "C"
