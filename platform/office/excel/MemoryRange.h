#pragma once
// A range of an in-memory worksheet: a rectangle, and whether it was reached through Rows or
// Columns (which changes what Count counts). It holds its worksheet, so a range outlives the
// variable it came from, as an Excel reference does.
#include <functional>
#include <memory>

#include "office/excel/A1Reference.h"
#include "office/excel/Range.h"
#include "office/excel/StyleTable.h"

namespace office::excel {

class MemoryWorksheet;

class MemoryRange final : public Range {
 public:
  enum class Kind { Cells, Rows, Columns };

  MemoryRange(std::shared_ptr<MemoryWorksheet> sheet, Area area, Kind kind = Kind::Cells);

  std::shared_ptr<excel::Worksheet> Worksheet() override;
  std::shared_ptr<excel::Application> Application() override;
  automation::Variant Value() override;
  void setValue(const automation::Variant& value) override;
  std::string Address(bool rowAbsolute = true, bool columnAbsolute = true, int32_t referenceStyle = xlA1,
                      bool external = false, std::shared_ptr<Range> relativeTo = nullptr) override;
  int32_t Row() override;
  int32_t Column() override;
  int32_t Count() override;
  std::shared_ptr<Range> Rows() override;
  std::shared_ptr<Range> Columns() override;
  std::shared_ptr<Range> EntireColumn() override;
  std::shared_ptr<Range> EntireRow() override;
  std::shared_ptr<Range> Cells(const automation::Variant& row, const automation::Variant& column) override;
  automation::Variant ColumnWidth() override;
  void setColumnWidth(double width) override;
  automation::Variant RowHeight() override;
  automation::Variant HorizontalAlignment() override;
  void setHorizontalAlignment(int32_t alignment) override;
  automation::Variant NumberFormat() override;
  void setNumberFormat(const std::string& format) override;
  std::shared_ptr<excel::Font> Font() override;
  std::shared_ptr<excel::Characters> Characters(const automation::Variant& start = {},
                                                const automation::Variant& length = {}) override;
  void Select() override;
  void Activate() override;
  double Left() override;
  double Top() override;
  double Width() override;
  double Height() override;

  // --- between the in-memory objects ---
  const Area& area() const { return area_; }
  Kind kind() const { return kind_; }
  const std::shared_ptr<MemoryWorksheet>& sheet() const { return sheet_; }
  // Changes the style of every cell of the range (and of whole columns, the column's own
  // style) with `change`.
  void changeStyles(const std::function<void(CellStyle&)>& change);
  // The one value every cell's style gives through `property`, or Null when they differ.
  automation::Variant commonStyleValue(const std::function<automation::Variant(const CellStyle&)>& property);

 private:
  std::shared_ptr<MemoryWorksheet> sheet_;
  Area area_;
  Kind kind_;
};

// A cell coordinate given as VB passes it: a number, or (for columns) the column's letters.
int32_t rowArgument(const automation::Variant& row);
int32_t columnArgument(const automation::Variant& column);

}  // namespace office::excel
