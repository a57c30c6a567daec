#pragma once
// A1 references as Excel reads and writes them: "B3", "$B$3", "B3:B100", "A:C", "3:5".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "office/excel/Constants.h"

namespace office::excel {

// A rectangle of cells, 1-based and inclusive.
struct Area {
  int32_t row1 = 1;
  int32_t column1 = 1;
  int32_t row2 = 1;
  int32_t column2 = 1;

  int32_t rows() const { return row2 - row1 + 1; }
  int32_t columns() const { return column2 - column1 + 1; }
  bool wholeColumns() const { return row1 == 1 && row2 == kMaxRows; }
  bool wholeRows() const { return column1 == 1 && column2 == kMaxColumns; }
  bool contains(int32_t row, int32_t column) const {
    return row >= row1 && row <= row2 && column >= column1 && column <= column2;
  }
  // The smallest area holding both.
  static Area span(const Area& a, const Area& b);
  friend bool operator==(const Area&, const Area&) = default;
};

// "A" is 1, "Z" 26, "AA" 27, "XFD" 16384; nullopt for anything else (case is ignored).
std::optional<int32_t> columnNumber(std::string_view letters);
std::string columnLetters(int32_t column);
// One area in A1 form, "$" allowed before the column and the row; nullopt when Excel would not
// read it as a range of a worksheet.
std::optional<Area> parseA1(std::string_view text);

struct AddressStyle {
  bool rowAbsolute = true;
  bool columnAbsolute = true;
  int32_t referenceStyle = xlA1;
  // For relative R1C1 references: the cell they are relative to.
  int32_t relativeRow = 1;
  int32_t relativeColumn = 1;
};
// The address as Range.Address gives it: a cell ("$B$3"), an area ("$B$3:$B$100"), whole
// columns ("$B:$B") or rows ("$3:$3"); R1C1 ("R3C2", "R[2]C[1]", "C2", "R3").
std::string formatAddress(const Area& area, const AddressStyle& style);
// A sheet name as it appears before "!" in a reference: quoted when it is not a plain word.
std::string quoteSheetName(std::string_view name, std::string_view workbookName = {});

}  // namespace office::excel
