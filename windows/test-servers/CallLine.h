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

std::string callLine(const automation::Object& object, const std::string& member, automation::DispatchKind kind,
                     uint32_t locale, const automation::DispatchArgs& args);

}  // namespace zeltest
