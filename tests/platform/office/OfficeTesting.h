#pragma once
// Helpers shared by the office tests.
#include <functional>
#include <string>

#include "automation/Error.h"

namespace office::testing {

// The error a call raises; number 0 and no text when it raises none.
inline automation::Error raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const automation::Error& e) {
    return e;
  }
  return automation::Error(0, "");
}

}  // namespace office::testing
