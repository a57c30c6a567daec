#pragma once
// The cells of one worksheet, kept by column and, within a column, in blocks of rows that
// exist only where something was written. A column of a hundred thousand values is a few
// hundred contiguous blocks; a value far down the sheet costs one block.
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
  // The cell for writing, created (with the column's style) when it was not there.
  Cell& at(int32_t row, int32_t column);
  // The cell when it was ever written, else nullptr.
  Cell* find(int32_t row, int32_t column);

  // The style a whole column carries (set through EntireColumn / Columns); cells created later
  // in the column start with it.
  StyleTable::Index columnStyle(int32_t column) const;
  void setColumnStyle(int32_t column, StyleTable::Index style);
  const std::map<int32_t, StyleTable::Index>& columnStyles() const { return columnStyles_; }

  // Every used cell (one with a value, or a style other than its column's), column by column,
  // top to bottom.
  void forEachUsed(const std::function<void(int32_t row, int32_t column, const Cell&)>& visit) const;
  // The cells of one column that were ever written (used or not), top to bottom; `visit` may
  // change them.
  void forEachInColumn(int32_t column, int32_t firstRow, int32_t lastRow,
                       const std::function<void(int32_t row, Cell&)>& visit);
  // Columns that hold any written cell, ascending.
  std::vector<int32_t> columns() const;
  // Clears a rectangle's values (formats stay), without creating cells.
  void clearValues(int32_t row1, int32_t column1, int32_t row2, int32_t column2);

 private:
  using Block = std::array<Cell, kBlockRows>;
  struct Column {
    std::map<int32_t, std::unique_ptr<Block>> blocks;  // by (row - 1) / kBlockRows
  };

  std::map<int32_t, Column> columns_;
  std::map<int32_t, StyleTable::Index> columnStyles_;
};

}  // namespace office::excel
