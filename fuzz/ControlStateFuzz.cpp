// Fuzz target for opening the control's state saved in a workbook, the path `zel --from` takes
// before the control sees anything: the package, its control-state part, the property bag in
// it and the captured analyzer states. Every input either opens or raises automation::Error;
// nothing crashes, and what opens saves back to what was read.
//
// The first byte chooses what the rest is: 0 the part's XML text, anything else a whole package
// file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "automation/Error.h"
#include "automation/PropertyBag.h"
#include "companions/ItemStateInfo.h"
#include "office/ControlStatePart.h"

namespace {

std::optional<std::vector<uint8_t>> storedBag(const uint8_t* data, size_t size) {
  if (data[0] == 0) return office::ControlStatePart::fromXml(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("state-fuzz-" + std::to_string(::getpid()) + ".xlsx");
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data + 1),
                                                                static_cast<std::streamsize>(size - 1));
  return office::ControlStatePart::read(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  try {
    const auto bytes = storedBag(data, size);
    if (!bytes) return 0;
    automation::PropertyBag bag = automation::PropertyBag::fromBytes(*bytes);
    if (bag.toBytes() != *bytes) std::abort();
    kro::ItemStateInfo states;
    states.ReadProperties(bag);
    automation::PropertyBag again;
    states.WriteProperties(again);
    kro::ItemStateInfo copy;
    copy.ReadProperties(again);
    if (copy.Count() != states.Count()) std::abort();
  } catch (const automation::Error&) {
  }
  return 0;
}
