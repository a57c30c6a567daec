// Fuzz target for loading a stored property bag: any input either loads or raises
// automation::Error, and what loads writes back to exactly the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "automation/Error.h"
#include "automation/PropertyBag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  automation::PropertyBag bag;
  try {
    bag = automation::PropertyBag::fromBytes(input);
  } catch (const automation::Error&) {
    return 0;
  }
  const std::vector<uint8_t> again = bag.toBytes();
  if (again.size() != size || !std::equal(again.begin(), again.end(), input.begin())) std::abort();
  return 0;
}
