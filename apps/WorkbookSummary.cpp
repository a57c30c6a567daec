#include "WorkbookSummary.h"

#include <fmt/format.h>

#include <algorithm>
#include <ostream>

#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"

namespace zelhost {

std::vector<SheetSummary> summarize(const office::excel::MemoryWorkbook& book) {
  std::vector<SheetSummary> sheets;
  for (const auto& sheet : book.sheets()) {
    SheetSummary entry{sheet->sheetName(), 0};
    if (auto worksheet = std::dynamic_pointer_cast<office::excel::MemoryWorksheet>(sheet))
      worksheet->readCells([&](const office::excel::CellStore& cells) {
        cells.forEachUsed(
            [&](int32_t row, int32_t, const office::excel::Cell&) { entry.rows = std::max(entry.rows, row); });
      });
    sheets.push_back(entry);
  }
  return sheets;
}

void printSummary(std::ostream& out, const std::filesystem::path& path, const std::vector<SheetSummary>& sheets) {
  out << "Saved " << path.string() << ":\n";
  for (const auto& sheet : sheets) out << fmt::format("  {:<28} {} rows", sheet.name, sheet.rows) << '\n';
  out.flush();
}

}  // namespace zelhost
