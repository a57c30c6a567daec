#pragma once
// What zel prints on stdout once a workbook is saved, for scripts to read: the file, then one
// line per sheet with its name and last used row.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace office::excel {
class MemoryWorkbook;
}

namespace zelhost {

struct SheetSummary {
  std::string name;
  int rows = 0;  // the last row holding anything; 0 for a sheet without cells
};

std::vector<SheetSummary> summarize(const office::excel::MemoryWorkbook& book);
void printSummary(std::ostream& out, const std::filesystem::path& path, const std::vector<SheetSummary>& sheets);

}  // namespace zelhost
