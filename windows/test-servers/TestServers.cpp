// ZELTestServers.dll: the in-memory Excel and Word as COM classes of their own, for the test
// run under Wine only (never installed with the library). A script creates one, hands it to the
// control as its host application and reads the cells back; every call between the control and
// this Excel then crosses IDispatch, as it does to the real one, and goes into the call log.
// The library's dialogs and message boxes come to "ZELTest.Desktop" when the run points it here.
#include <string>

#include "CallLog.h"
#include "TestContainer.h"
#include "TestDesktop.h"
#include "automation/Registry.h"
#include "office/excel/MemoryApplication.h"
#include "office/word/MemoryApplication.h"

#include "automation/com/ComServer.h"

#include <olectl.h>

namespace {

constexpr const char* kServerFile = "ZELTestServers.dll";

HMODULE thisModule = nullptr;

automation::Registry& servers() {
  static automation::Registry registry = [] {
    automation::Registry r;
    r.registerClass({.progId = "ZELTest.ExcelApplication",
                     .clsid = "{FEB31AFA-D14A-4592-A516-016442D56E92}",
                     .className = "ExcelApplication",
                     .filePath = kServerFile,
                     .factory = [] { return automation::ObjectPtr(office::excel::createApplication()); }});
    r.registerClass({.progId = "ZELTest.WordApplication",
                     .clsid = "{2974F925-C394-439F-975B-DB2F879A539A}",
                     .className = "WordApplication",
                     .filePath = kServerFile,
                     .factory = [] { return automation::ObjectPtr(office::word::createApplication()); }});
    // One log for the process: every application created here records into it.
    r.registerClass({.progId = "ZELTest.CallLog",
                     .clsid = "{F1495230-BEF0-491D-8E71-34EAAEF3558F}",
                     .className = "CallLog",
                     .filePath = kServerFile,
                     .factory = [] { return automation::ObjectPtr(std::make_shared<zeltest::CallLog>()); }});
    // A document's place for the control, as Excel and Word give one to a control they hold.
    r.registerClass({.progId = "ZELTest.Container",
                     .clsid = "{3C8A51E7-9D02-4B6F-A1E4-58F7B2C06D19}",
                     .className = "Container",
                     .filePath = kServerFile,
                     .factory = [] { return automation::ObjectPtr(std::make_shared<zeltest::TestContainer>()); }});
    // The person at the screen, one for the process: the script and the library share it.
    r.registerClass({.progId = "ZELTest.Desktop",
                     .clsid = "{0F6D2B8E-4C71-4A9D-B3E5-7A18C2D94F63}",
                     .className = "Desktop",
                     .filePath = kServerFile,
                     .factory = &zeltest::TestDesktop::instance});
    zeltest::recordCalls();
    return r;
  }();
  return registry;
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
    return automation::com::registerServer(servers(), kServerFile, automation::com::modulePath(thisModule), "");
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  try {
    return automation::com::unregisterServer(servers(), kServerFile, "");
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return automation::com::getClassObject(clsid, iid, out, [](const std::string& clsid) -> automation::Factory {
    const automation::ClassRegistration* c = servers().findClass(clsid);
    return c ? c->factory : nullptr;
  });
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return automation::com::canUnloadNow(); }

}  // extern "C"
