#pragma once
// The control's state that a workbook saved by zel carries: read from the package's own part
// before anything else happens, so that a file that cannot be opened is refused before any
// analyzer is touched, and the file itself is only ever read.
#include <filesystem>
#include <stdexcept>

#include "automation/PropertyBag.h"

namespace zelhost {

// The bag saved in `file`. A file that is missing, no workbook, without the control's state, or
// whose state is damaged or from a newer zel raises SavedStateError with the reason.
automation::PropertyBag loadSavedState(const std::filesystem::path& file);

class SavedStateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace zelhost
