// Fuzz target for the values of zel's options that are parsed by zel itself: annotation names,
// "HH:MM:SS" times and "YYYY-MM-DD HH:MM" start times. Each is accepted or refused with
// std::invalid_argument (which the command line shows as a usage error); nothing else escapes.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "GetDataRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    switch (data[0] % 3) {
      case 0: zelhost::annotationIndices(text); break;
      case 1: zelhost::checkClockTime(text); break;
      default: zelhost::parseStartAt(text); break;
    }
  } catch (const std::invalid_argument&) {
  }
  return 0;
}
