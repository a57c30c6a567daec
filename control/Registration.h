#pragma once
// The library's four in-process server entry points. DllRegisterServer writes every public
// class of the library (with its ProgID, class ID, interfaces and file data), the interfaces
// it implements, its type library and the enumeration SavedDataCvalues into the class registry;
// DllUnregisterServer removes exactly what that wrote.
#include <cstdint>
#include <string_view>

#include "automation/Registry.h"

namespace zel {

using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<int32_t>(0x80040111u);

inline constexpr const char* kLibraryLibId = "{5E0A7C12-3B49-4D8F-A6E1-72C9D4B0F35A}";
inline constexpr const char* kLibraryFile = R"(C:\Program Files\ZEL\ZELControlProj.ocx)";
// The maker's notice in the library's version data, and on the About dialog.
inline constexpr const char* kLegalCopyright = "Copyright (C) Corvane";

HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
// The class factory of a class of this library, by class ID: on success `factory` creates new
// objects of the class and the result is S_OK; CLASS_E_CLASSNOTAVAILABLE for any other class.
HRESULT DllGetClassObject(std::string_view clsid, automation::Factory& factory);
// S_OK when no object made by this library's class factories is alive, S_FALSE otherwise.
HRESULT DllCanUnloadNow();

}  // namespace zel
