#pragma once
// The cells of one worksheet, kept by column and, within a column, in blocks of rows that
// exist only where something was written. A column of a hundred thousand values is a few
// hundred contiguous blocks; a value far down the sheet costs one block.
//
// A block keeps its numbers as plain doubles and each cell's style as an index into the
// workbook's style table: a numeric cell costs 13 bytes. The few cells holding anything else
// (text, dates, booleans) keep their value beside the block.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "automation/Variant.h"
#include "office/excel/StyleTable.h"

namespace office::excel {

struct Cell {
  automation::Variant value;
  StyleTable::Index style = StyleTable::kDefault;
};

class CellStore {
 public:
  static constexpr int32_t kBlockRows = 1024;

  // The cell at (row, column), 1-based; an unused cell is Empty with the column's style.
  Cell get(int32_t row, int32_t column) const;
  // Only the style of (row, column), without copying the value.
  StyleTable::Index styleAt(int32_t row, int32_t column) const;
  // Writing one cell; a cell not there is made with the column's style first.
  void set(int32_t row, int32_t column, const Cell& cell);
  void setValue(int32_t row, int32_t column, automation::Variant value);
  void setStyle(int32_t row, int32_t column, StyleTable::Index style);
  // Empties a cell that was ever written (its format stays); makes none.
  void clearValue(int32_t row, int32_t column);

  // The style a whole column carries (set through EntireColumn / Columns); cells created later
  // in the column start with it.
  StyleTable::Index columnStyle(int32_t column) const;
  void setColumnStyle(int32_t column, StyleTable::Index style);
  const std::map<int32_t, StyleTable::Index>& columnStyles() const { return columnStyles_; }

  // Every used cell (one with a value, or a style other than its column's), column by column,
  // top to bottom.
  void forEachUsed(const std::function<void(int32_t row, int32_t column, const Cell&)>& visit) const;
  // The same cells row by row, left to right, as a sheet's file lists them.
  void forEachUsedByRow(const std::function<void(int32_t row, int32_t column, const Cell&)>& visit) const;
  // The styles of the cells of one column that were ever written (used or not), top to bottom:
  // read, or each replaced by what `change` makes of it.
  void forEachStyleInColumn(int32_t column, int32_t firstRow, int32_t lastRow,
                            const std::function<void(StyleTable::Index)>& visit) const;
  void restyleColumn(int32_t column, int32_t firstRow, int32_t lastRow,
                     const std::function<StyleTable::Index(StyleTable::Index)>& change);
  // Columns that hold any written cell, ascending.
  std::vector<int32_t> columns() const;
  // Clears a rectangle's values (formats stay), without creating cells.
  void clearValues(int32_t row1, int32_t column1, int32_t row2, int32_t column2);

 private:
  enum class Kind : uint8_t { Empty, Number, Other };
  struct Block {
    std::array<double, kBlockRows> numbers;
    std::array<StyleTable::Index, kBlockRows> styles;
    std::array<Kind, kBlockRows> kinds{};
    std::map<int32_t, automation::Variant> others;  // by slot
  };
  using Blocks = std::map<int32_t, std::unique_ptr<Block>>;  // by (row - 1) / kBlockRows

  const Block* findBlock(int32_t row, int32_t column) const;
  // The written rows of a column within firstRow..lastRow, block by block: visit(block, first
  // slot, last slot).
  template <class Visit>
  static void forEachSpan(const Blocks& blocks, int32_t firstRow, int32_t lastRow, Visit visit);
  Block& block(int32_t row, int32_t column);
  void visitUsed(const Block& block, int32_t slot, int32_t row, int32_t column, StyleTable::Index plain,
                 const std::function<void(int32_t, int32_t, const Cell&)>& visit) const;

  std::map<int32_t, Blocks> columns_;
  std::map<int32_t, StyleTable::Index> columnStyles_;
};

}  // namespace office::excel
