// ZELControlProj.dll's four exports. The library's own Registration fills the process's class
// registry as on any other build; here the same registrations also go to the Windows registry,
// and the class objects COM asks for are the library's class factories.
#include <mutex>
#include <string>

// The library's headers first: windows.h's macros (S_OK, interface, MAX_PATH) would rewrite
// their names. Below them S_OK and friends are the Windows macros, of the same values.
#include "automation/Error.h"
#include "automation/Registry.h"
#include "companions/com/CompanionViews.h"
#include "control/Registration.h"
#include "forms/DispatchDesktop.h"
#include "forms/UserControl.h"
#include "office/ControlSite.h"
#include "office/com/OfficeViews.h"

#include "automation/com/ComControlSite.h"
#include "automation/com/ComObjects.h"
#include "automation/com/ComServer.h"

#include <olectl.h>

namespace {

HMODULE thisModule = nullptr;

// A container that places the control gives it a site in one of its documents: the document's
// site for this control, as the system finds it (office::ControlSite). The site knows its
// document weakly, as a document owns its sites; here the container's document is held for as
// long as the control stays placed.
void placeControlsInDocuments() {
  automation::com::setControlSites(
      {.isControl = [](const automation::Object& object) { return dynamic_cast<const forms::UserControl*>(&object) != nullptr; },
       .place = [](const automation::ObjectPtr& control, const automation::ObjectPtr& document,
                   int32_t hwnd) -> std::shared_ptr<void> {
         struct Placement {
           automation::ObjectPtr document;
           std::shared_ptr<office::ControlSite> site;
         };
         return std::make_shared<Placement>(Placement{document, office::ControlSite::create(document, control, hwnd)});
       }});
}

// The process's registry holds the library's own public classes, once; a class it does not hold
// is COM's: every companion (the instrument server, the discovery component, the RS-232
// configuration, the setups, the utilities and the version information) is the companions'
// module's. The views let the system call them, and another component's Excel or Word, by name.
void registerInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
    automation::Registry& registry = automation::registry();
    zel::DllRegisterServer();
    registry.setOutsideFactory(automation::com::createComObject);
    office::com::registerExcelViews(registry);
    office::com::registerWordViews(registry);
    kro::com::registerCompanionViews(registry);
    placeControlsInDocuments();
    forms::DispatchDesktop::chooseForTestRun();
  });
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
    registerInProcess();
    return automation::com::registerServer(automation::registry(), zel::kLibraryFile,
                                           automation::com::modulePath(thisModule), zel::kLibraryLibId);
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  try {
    registerInProcess();
    return automation::com::unregisterServer(automation::registry(), zel::kLibraryFile, zel::kLibraryLibId);
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return automation::com::getClassObject(clsid, iid, out, [](const std::string& clsid) {
    registerInProcess();
    automation::Factory factory;
    zel::DllGetClassObject(clsid, factory);
    return factory;
  });
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return zel::DllCanUnloadNow() == S_OK ? automation::com::canUnloadNow() : S_FALSE;
}

}  // extern "C"
