#include "SavedState.h"

#include <fmt/format.h>

#include "automation/Error.h"
#include "office/ControlStatePart.h"

namespace zelhost {

automation::PropertyBag loadSavedState(const std::filesystem::path& file) {
  try {
    const auto bytes = office::ControlStatePart::read(file);
    if (!bytes) throw SavedStateError(fmt::format("{} carries no saved state of the analyzer toolbar", file.string()));
    return automation::PropertyBag::fromBytes(*bytes);
  } catch (const automation::Error& e) {
    throw SavedStateError(fmt::format("the saved state in {} cannot be opened: {}", file.string(), e.description()));
  }
}

}  // namespace zelhost
