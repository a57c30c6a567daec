#pragma once
// The numbers of the worksheets, written into the package after libxlsxwriter has written
// everything else: the writer formats a double with 16 significant digits (losing the last bit
// of many), keeps every cell in memory until the package is closed, and spends most of a save
// of a long trace formatting and compressing. Here each number is written as the shortest text
// that reads back as the same double, row by row as the sheet's part lists cells, one worksheet
// at a time: a workbook of many measurements is never in memory at once.
//
// libxlsxwriter writes each worksheet part with the sheet's other cells (text, dates, blanks),
// its columns, selection and drawings; the numbers are merged into the rows of that part and
// the part replaced in the package.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace office::excel {

class SheetNumbers {
 public:
  // One numeric cell: its row and column (1-based), value and the index of its cell format in
  // the package's styles.
  using Visit = std::function<void(int32_t row, int32_t column, double value, int32_t format)>;
  // Hands a sheet's numbers to `visit`, row by row and left to right within a row.
  using Source = std::function<void(const Visit& visit)>;

  // The worksheet part `part` with the numbers merged into its rows and its dimension widened
  // to cover them.
  static std::string merge(std::string_view part, const Source& numbers);
  // Merges `sheets[i]` into the package's part of worksheet i + 1 (xl/worksheets/sheetN.xml).
  // Each part is made only when the package is written, and dropped once it is. A package that
  // cannot be read or written raises 1004.
  static void addTo(const std::filesystem::path& package, const std::vector<Source>& sheets);
};

}  // namespace office::excel
