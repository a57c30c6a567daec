#pragma once
// Variant to and from the VARIANT of COM. Strings are UTF-8 on this side and BSTR on the other;
// arrays keep their lower bounds; objects of this library cross as their own IDispatch and come
// back as themselves, objects of other components are wrapped so the system calls them by name.
#include <string>
#include <string_view>

#include "automation/Error.h"
#include "automation/Variant.h"

// After the system's headers: the Windows headers' macros (DISPID_VALUE, interface, MAX_PATH)
// would otherwise rewrite the system's own names.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

namespace automation::com {

std::wstring widen(std::string_view utf8);
std::string narrow(const wchar_t* text, size_t length);
std::string narrow(BSTR text);
// A new BSTR the receiver frees.
BSTR allocString(std::string_view utf8);

// Fills `out` (which must be empty or cleared) with a copy the receiver owns.
void toVARIANT(const Variant& value, VARIANT& out);
// The value, through a by-reference VARIANT if need be. A missing optional argument
// (VT_ERROR DISP_E_PARAMNOTFOUND) is Empty; a type the system has no value for raises 458
// "Variable uses an Automation type not supported".
Variant fromVARIANT(const VARIANT& in);
// Writes an out argument back through a by-reference VARIANT; does nothing for one passed by value.
void writeBack(const Variant& value, VARIANT& byRef);

// An automation error as COM carries it: the HRESULT of a VB error number (0x800A0000 + n), an
// object-defined error's number as it is, and the number of a received HRESULT back again.
HRESULT hresultOf(int32_t number);
int32_t numberOf(HRESULT hr);
void fillExcepInfo(const Error& error, EXCEPINFO& info);
Error errorOf(HRESULT hr, const EXCEPINFO* info = nullptr);

}  // namespace automation::com
