#include "office/excel/CellStore.h"

namespace office::excel {
namespace {

int32_t blockOf(int32_t row) { return (row - 1) / CellStore::kBlockRows; }
int32_t slotOf(int32_t row) { return (row - 1) % CellStore::kBlockRows; }

}  // namespace

Cell CellStore::get(int32_t row, int32_t column) const {
  if (auto c = columns_.find(column); c != columns_.end()) {
    if (auto b = c->second.blocks.find(blockOf(row)); b != c->second.blocks.end())
      return (*b->second)[static_cast<size_t>(slotOf(row))];
  }
  return Cell{{}, columnStyle(column)};
}

StyleTable::Index CellStore::styleAt(int32_t row, int32_t column) const {
  if (auto c = columns_.find(column); c != columns_.end()) {
    if (auto b = c->second.blocks.find(blockOf(row)); b != c->second.blocks.end())
      return (*b->second)[static_cast<size_t>(slotOf(row))].style;
  }
  return columnStyle(column);
}

Cell& CellStore::at(int32_t row, int32_t column) {
  auto& block = columns_[column].blocks[blockOf(row)];
  if (!block) {
    block = std::make_unique<Block>();
    const StyleTable::Index style = columnStyle(column);
    if (style != StyleTable::kDefault)
      for (Cell& cell : *block) cell.style = style;
  }
  return (*block)[static_cast<size_t>(slotOf(row))];
}

Cell* CellStore::find(int32_t row, int32_t column) {
  auto c = columns_.find(column);
  if (c == columns_.end()) return nullptr;
  auto b = c->second.blocks.find(blockOf(row));
  return b == c->second.blocks.end() ? nullptr : &(*b->second)[static_cast<size_t>(slotOf(row))];
}

StyleTable::Index CellStore::columnStyle(int32_t column) const {
  auto found = columnStyles_.find(column);
  return found == columnStyles_.end() ? StyleTable::kDefault : found->second;
}

void CellStore::setColumnStyle(int32_t column, StyleTable::Index style) {
  if (style == StyleTable::kDefault)
    columnStyles_.erase(column);
  else
    columnStyles_[column] = style;
}

void CellStore::forEachUsed(
    const std::function<void(int32_t row, int32_t column, const Cell&)>& visit) const {
  for (const auto& [column, data] : columns_) {
    const StyleTable::Index plain = columnStyle(column);
    for (const auto& [block, cells] : data.blocks) {
      for (int32_t slot = 0; slot < kBlockRows; ++slot) {
        const Cell& cell = (*cells)[static_cast<size_t>(slot)];
        if (!cell.value.isEmpty() || cell.style != plain) visit(block * kBlockRows + slot + 1, column, cell);
      }
    }
  }
}

void CellStore::forEachInColumn(int32_t column, int32_t firstRow, int32_t lastRow,
                                const std::function<void(int32_t row, Cell&)>& visit) {
  auto c = columns_.find(column);
  if (c == columns_.end()) return;
  auto& blocks = c->second.blocks;
  for (auto b = blocks.lower_bound(blockOf(firstRow)); b != blocks.end() && b->first <= blockOf(lastRow); ++b) {
    const int32_t base = b->first * kBlockRows;
    for (int32_t slot = 0; slot < kBlockRows; ++slot) {
      const int32_t row = base + slot + 1;
      if (row < firstRow || row > lastRow) continue;
      visit(row, (*b->second)[static_cast<size_t>(slot)]);
    }
  }
}

std::vector<int32_t> CellStore::columns() const {
  std::vector<int32_t> result;
  for (const auto& [column, data] : columns_)
    if (!data.blocks.empty()) result.push_back(column);
  return result;
}

void CellStore::clearValues(int32_t row1, int32_t column1, int32_t row2, int32_t column2) {
  for (auto c = columns_.lower_bound(column1); c != columns_.end() && c->first <= column2; ++c)
    forEachInColumn(c->first, row1, row2, [](int32_t, Cell& cell) { cell.value = automation::Variant(); });
}

}  // namespace office::excel
