#pragma once
// An in-memory worksheet: its cells, column widths, row heights, shapes and what is selected
// on it. The data is readable through the members below for whoever writes the workbook out.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "office/excel/A1Reference.h"
#include "office/excel/CellStore.h"
#include "office/excel/MemorySheet.h"
#include "office/excel/Worksheet.h"

namespace office::excel {

class MemoryShape;
class MemoryShapes;

class MemoryWorksheet final : public Worksheet, public MemorySheet {
 public:
  MemoryWorksheet(std::weak_ptr<MemoryWorkbook> workbook, std::string name);

  std::string Name() const override;
  void setName(const std::string& name) override;
  int32_t Index() const override;
  void Activate() override;
  std::shared_ptr<Workbook> Parent() override;
  std::shared_ptr<excel::Application> Application() override;
  std::shared_ptr<excel::Range> Range(const automation::Variant& cell1,
                                      const automation::Variant& cell2 = {}) override;
  std::shared_ptr<excel::Range> Cells(const automation::Variant& row,
                                      const automation::Variant& column) override;
  std::shared_ptr<excel::Range> Cells() override;
  std::shared_ptr<excel::Range> Columns(const automation::Variant& index = {}) override;
  std::shared_ptr<excel::Range> Rows(const automation::Variant& index = {}) override;
  std::shared_ptr<excel::Shapes> Shapes() override;
  automation::ObjectPtr ChartObjects(const automation::Variant& index) override;

  automation::ObjectPtr sheetObject() override { return shared_from_this(); }
  void sheetActivated() override;

  // --- the data ---
  // The cells, back in memory if they had been released.
  const CellStore& cells() const;
  CellStore& cells();
  // A sheet nobody will change again can give its cells up: `reload` gives them back, with
  // the same values and style indexes, whenever they are wanted. The rest of the sheet (name,
  // widths, selection, charts) stays.
  using CellLoader = std::function<CellStore()>;
  void releaseCells(CellLoader reload);
  bool cellsReleased() const { return static_cast<bool>(reload_); }
  // For a reader that needs the cells once, such as the saver: released cells are loaded for
  // the visit only and leave memory again.
  void readCells(const std::function<void(const CellStore&)>& visit) const;
  // The value of one cell (1-based), Empty when never written.
  automation::Variant value(int32_t row, int32_t column) const { return cells().get(row, column).value; }
  const CellStyle& style(int32_t row, int32_t column) const;
  // Width of a column in characters, and its width in points as Excel draws it.
  double columnWidth(int32_t column) const;
  void setColumnWidth(int32_t column, double width);
  double columnWidthPoints(int32_t column) const;
  // Columns whose width differs from the standard one.
  const std::map<int32_t, double>& columnWidths() const { return widths_; }
  double rowHeight(int32_t row) const;
  // Left edge of a column and top edge of a row, in points from the sheet's corner.
  double columnLeft(int32_t column) const;
  double rowTop(int32_t row) const;
  // The pictures and chart frames on the sheet, in the order they were added.
  const std::vector<std::shared_ptr<MemoryShape>>& shapes() const;
  // The selection and the active cell within it.
  const Area& selection() const { return selection_; }
  int32_t activeRow() const { return activeRow_; }
  int32_t activeColumn() const { return activeColumn_; }
  void select(const Area& area, int32_t activeRow, int32_t activeColumn);

  // --- between the in-memory objects ---
  std::shared_ptr<MemoryWorksheet> self() {
    return std::static_pointer_cast<MemoryWorksheet>(shared_from_this());
  }
  // The workbook, raising when it is closed; marks it changed when `changing`.
  std::shared_ptr<MemoryWorkbook> book(bool changing = false) const;
  bool isActive() const;
  std::shared_ptr<excel::Range> rangeOf(const Area& area);

 private:
  Area areaOf(const automation::Variant& cell, const char* property);

  mutable CellStore cells_;
  mutable CellLoader reload_;
  std::map<int32_t, double> widths_;
  std::map<int32_t, double> heights_;
  std::shared_ptr<MemoryShapes> shapes_;
  Area selection_{1, 1, 1, 1};
  int32_t activeRow_ = 1;
  int32_t activeColumn_ = 1;
};

}  // namespace office::excel
