#pragma once
// The system's objects as IDispatch, and other components' IDispatch objects as the system's
// objects. An object keeps one COM identity for as long as it has outside references, so VB's
// "Is" compares what it should; handed back into the library, it is the system's object again.
#include <functional>
#include <string>

#include "automation/Foreign.h"
#include "automation/Object.h"

// After the system's headers, whose names the Windows headers' macros would rewrite.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

namespace automation::com {

// A new reference (the receiver releases it); nullptr for Nothing.
IDispatch* dispatchOf(const ObjectPtr& object);
// The system's own object behind one of ours, or another component's object wrapped for
// late-bound calls by name; nullptr for a null pointer.
ObjectPtr objectOf(IDispatch* dispatch);

// CreateObject for classes outside this library: CLSIDFromProgID and CoCreateInstance. 429 when
// the class is unknown or refuses to be created.
ObjectPtr createComObject(std::string_view progIdOrClsid);

// Sees every call that reaches this module's objects through IDispatch, before it runs: the
// object, the member's name, the kind of call, the caller's locale and its arguments (a test
// server's log of what its clients called).
using InvokeObserver = std::function<void(const Object& object, const std::string& member, DispatchKind kind,
                                          LCID locale, const DISPPARAMS& params)>;
void setInvokeObserver(InvokeObserver observer);

// Outside references to the library's objects that are still held (DllCanUnloadNow).
long liveReferences();

}  // namespace automation::com
