#pragma once
// Optional arguments of late-bound calls: an argument left out is Empty.
#include <cstddef>

#include "automation/Object.h"

namespace office {

inline const automation::Variant& optionalArg(const automation::DispatchArgs& args, size_t i) {
  static const automation::Variant missing;
  return i < args.size() ? args[i] : missing;
}

}  // namespace office
