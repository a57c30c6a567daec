#pragma once
// A finished worksheet as bytes, and back: everything the saved workbook shows of it (values
// with their types, styles, column widths and styles, the selection, embedded charts with their
// series, titles, axes and formatting), so that a sheet kept this way saves as the sheet itself
// would. Pictures are not kept: a measurement's sheet has none.
//
// Numbers are written in the machine's (little-endian) byte order; the run journal that holds
// these bytes carries the format's version.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "office/excel/CellStore.h"

namespace office::excel {
class MemoryWorkbook;
class MemoryWorksheet;
}  // namespace office::excel

namespace zelhost {

// Bytes that do not decode as a sheet.
class SheetDecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `sheet` of `book`, with its position among the book's sheets and the name of the active sheet.
std::string encodeSheet(const office::excel::MemoryWorkbook& book, const office::excel::MemoryWorksheet& sheet);
// Adds the sheet to `book` at the position it had, and activates the sheet that was active.
void decodeSheet(const std::string& bytes, const std::shared_ptr<office::excel::MemoryWorkbook>& book);
// Only the cells of such a sheet (its column styles with them), their styles interned in `styles`:
// what a sheet that gave its cells up takes back.
office::excel::CellStore decodeCells(const std::string& bytes, office::excel::StyleTable& styles);

}  // namespace zelhost
