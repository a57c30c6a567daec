#pragma once
// What an in-process COM server built from the system's registry needs: class objects for its
// creatable classes, and the Windows registry entries for its classes and type library.
#include <functional>
#include <string>

#include "automation/Registry.h"

// After the system's headers, whose names the Windows headers' macros would rewrite.
#include <windows.h>
#include <ole2.h>

namespace automation::com {

// The file a module was loaded from, as registration writes it.
std::wstring modulePath(HMODULE module);

// An IClassFactory over a class's factory (a new reference), for DllGetClassObject.
IClassFactory* classFactory(Factory factory);
// Class objects and their locks still alive (DllCanUnloadNow).
long liveClassFactories();

// DllGetClassObject: the class object, as `iid`, of the factory `factoryOf` gives for the class
// ID's registry text ("{...}"); CLASS_E_CLASSNOTAVAILABLE when it gives none. Nothing escapes
// into the caller: a failure is E_UNEXPECTED.
HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out,
                       const std::function<Factory(const std::string& clsid)>& factoryOf);
// DllCanUnloadNow's answer for a module whose own objects and class objects are all gone.
HRESULT canUnloadNow();

// Writes, for every class of `registry` whose file is `libraryFile`, the class ID with its
// ProgID, InprocServer32 (the module at `modulePath`, apartment-threaded), TypeLib and Version,
// and the ProgID with its class ID; then registers the type library embedded in the module
// (none when `libId` is empty).
HRESULT registerServer(const Registry& registry, const std::string& libraryFile, const std::wstring& modulePath,
                       const std::string& libId);
// Removes exactly what registerServer wrote.
HRESULT unregisterServer(const Registry& registry, const std::string& libraryFile, const std::string& libId);

}  // namespace automation::com
