#pragma once
// Runs a call and gives the automation error number it raised, or 0 when it raised nothing.
#include <cstdint>
#include <functional>

#include "automation/Error.h"

namespace testsupport {

inline int32_t errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const automation::Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace testsupport
