#pragma once
// Excel's Range: a rectangle of cells on one worksheet. A range read through Rows or Columns
// counts (and indexes) its rows or columns instead of its cells, as in Excel.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"
#include "office/excel/Constants.h"

namespace office::excel {

class Application;
class Characters;
class Font;
class Worksheet;

class Range : public automation::Object {
 public:
  virtual std::shared_ptr<excel::Worksheet> Worksheet() = 0;
  virtual std::shared_ptr<excel::Application> Application() = 0;

  // Value of one cell: Empty, a Double, a String, a Boolean or a Date. Of several cells: a
  // 2-D array of Variants (1 To rows, 1 To columns).
  //
  // Putting a single value fills every cell. Putting an array stores it element by element
  // from the top-left cell: a 2-D array by (row, column), a 1-D array as one row, each repeated
  // over a range that has more rows (a 1-D or 1-row array) or more columns (a 1-column array);
  // cells beyond what the array covers otherwise show "#N/A". Empty (and Null) clears a cell;
  // numbers are stored as Doubles, Strings are taken as if typed (CellEntry.h: "100245" is the
  // number), Booleans stay Booleans, Dates Dates (a General cell receiving a Date, typed or
  // not, takes Excel's date format).
  virtual automation::Variant Value() = 0;
  virtual void setValue(const automation::Variant& value) = 0;

  // Address([RowAbsolute], [ColumnAbsolute], [ReferenceStyle], [External], [RelativeTo]):
  // "$B$3", "B3", "$B$3:$B$100", "$B:$B", "R3C2", "R[2]C[1]", "[Book1]Sheet1!$B$3".
  virtual std::string Address(bool rowAbsolute = true, bool columnAbsolute = true,
                              int32_t referenceStyle = xlA1, bool external = false,
                              std::shared_ptr<excel::Range> relativeTo = nullptr) = 0;
  // First row and column of the range.
  virtual int32_t Row() = 0;
  virtual int32_t Column() = 0;
  // Cells, or rows / columns for a range read through Rows / Columns.
  virtual int32_t Count() = 0;
  virtual std::shared_ptr<excel::Range> Rows() = 0;
  virtual std::shared_ptr<excel::Range> Columns() = 0;
  virtual std::shared_ptr<excel::Range> EntireColumn() = 0;
  virtual std::shared_ptr<excel::Range> EntireRow() = 0;
  // Cells(RowIndex, ColumnIndex) relative to the range's top-left cell (1, 1); may reach beyond
  // the range but not beyond the sheet.
  virtual std::shared_ptr<excel::Range> Cells(const automation::Variant& row,
                                              const automation::Variant& column) = 0;

  // ColumnWidth in characters of the standard font's digits (8.43 by default, at most 255),
  // Null when the range's columns differ. Excel keeps widths in whole pixels, so a width read
  // back is the nearest one it can show.
  virtual automation::Variant ColumnWidth() = 0;
  virtual void setColumnWidth(double width) = 0;
  // Points; Null when the rows differ.
  virtual automation::Variant RowHeight() = 0;
  // XlHAlign; Null when the cells differ.
  virtual automation::Variant HorizontalAlignment() = 0;
  virtual void setHorizontalAlignment(int32_t alignment) = 0;
  // "General" by default; any format text is kept as given; Null when the cells differ.
  virtual automation::Variant NumberFormat() = 0;
  virtual void setNumberFormat(const std::string& format) = 0;
  virtual std::shared_ptr<excel::Font> Font() = 0;
  // Characters([Start], [Length]) of a one-cell range's text, 1-based.
  virtual std::shared_ptr<excel::Characters> Characters(const automation::Variant& start = {},
                                                        const automation::Variant& length = {}) = 0;

  // Select selects the range (its top-left cell becomes the active cell); Activate makes one
  // cell the active cell, keeping the selection when the cell is inside it. Both raise 1004
  // when the range's sheet is not the active sheet.
  virtual void Select() = 0;
  virtual void Activate() = 0;

  // Position and size in points from the sheet's top-left corner.
  virtual double Left() = 0;
  virtual double Top() = 0;
  virtual double Width() = 0;
  virtual double Height() = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
