// Fuzz target for loading a stored property bag: any input either loads or raises
// automation::Error, and what loads writes back to exactly the same bytes.
//
// Not part of the default build (it needs clang's libFuzzer). Build and run from the top folder:
//
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Iplatform \
//     fuzz/PropertyBagFuzz.cpp platform/automation/{Error,Date,Variant,SafeArray,Conversions,Object,Collection,PropertyBag}.cpp \
//     -lfmt -o /tmp/bag-fuzz
//   /tmp/bag-fuzz -max_total_time=60 -rss_limit_mb=512
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
