#pragma once
// One line of the call log, as both builds write it for a call into the in-memory Office:
//   Range.Value put 1033 (2-D array)
// the object's class, the member, the kind of call (get, put, putref, call), the caller's locale
// and the arguments in call order: strings quoted, numbers as VB prints them, objects by class,
// arrays by their dimensions, an optional argument left out as missing.
#include <cstdint>
#include <string>

#include "automation/Object.h"

namespace zeltest {

// A cell's value as both builds' comparisons write it: a number exactly (the shortest text that
// reads back as the same double), anything else as VB's CStr gives it.
std::string shownValue(const automation::Variant& value);

std::string callLine(const automation::Object& object, const std::string& member, automation::DispatchKind kind,
                     uint32_t locale, const automation::DispatchArgs& args);

}  // namespace zeltest
