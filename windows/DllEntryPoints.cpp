// ZELControlProj.dll's four exports. The library's own Registration fills the process's class
// registry as on any other build; here the same registrations also go to the Windows registry,
// and the class objects COM asks for are the library's class factories.
#include <mutex>
#include <string>

// The library's headers first: windows.h's macros (S_OK, interface, MAX_PATH) would rewrite
// their names. Below them S_OK and friends are the Windows macros, of the same values.
#include "automation/Error.h"
#include "automation/Registry.h"
#include "companions/ComponentVersionInfo.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "companions/VCUtilities.h"
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

// The ProgID of a desktop that a test run plays (HKEY_CURRENT_USER\Software\ZELControlProj,
// value "TestDesktop"), written by the test run into its own Wine prefix; "" on a user's
// machine, where the dialogs are the library's own windows.
std::string testDesktopProgId() {
  char value[256] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\ZELControlProj", "TestDesktop", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return {};
  return value;
}

// Forms and message boxes go to the test run's desktop when it names one. The object is kept
// for the life of the process, never released: at the process's end COM is gone before it.
void chooseDesktop() {
  const std::string progId = testDesktopProgId();
  if (progId.empty()) return;
  try {
    forms::setDesktop(new forms::DispatchDesktop(automation::com::createComObject(progId)));
  } catch (const automation::Error&) {
    // Not registered: nobody plays it, and the library's own desktop stays.
  }
}

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

// The process's registry holds what the library creates for itself (the instrument server and
// its companions) and its own public classes, once; a class it does not hold is COM's. Its views
// let the system call another component's Excel, Word or instrument server, handed over by the
// host, by name.
void registerInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
    automation::Registry& registry = automation::registry();
    kro::registerInstrumentServer(registry);
    kro::registerUtilities(registry);
    // The version information and the utilities are the companions' module's, reached through
    // COM: the one reads the system's class registry and the files' own version resources, the
    // other asks the control's OLE client site where the host placed it.
    registry.unregisterClass(kro::ComponentVersionInfo::kClsid);
    registry.unregisterClass(kro::VCUtilities::kClsid);
    zel::DllRegisterServer();
    registry.setOutsideFactory(automation::com::createComObject);
    office::com::registerExcelViews(registry);
    office::com::registerWordViews(registry);
    kro::com::registerCompanionViews(registry);
    placeControlsInDocuments();
    chooseDesktop();
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
