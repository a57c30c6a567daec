#pragma once
// A run's workbook built from its journal: what `zel recover` does after a killed run, and what
// a run stopped in the middle of a measurement does for the measurements already finished.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "WorkbookSummary.h"

namespace zelhost {

struct Recovery {
  int measurements = 0;       // sheets found in the journal
  uint64_t droppedBytes = 0;  // the damaged or cut-off tail left out
  std::vector<SheetSummary> sheets;
};

// Saves the workbook of the journal beside `workbook` under that name (nothing is saved when
// the journal holds no measurement), makes it durable and only then removes the journal.
Recovery recoverWorkbook(const std::filesystem::path& workbook);

}  // namespace zelhost
