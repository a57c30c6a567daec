#include "office/excel/CellStore.h"

#include <algorithm>
#include <set>

namespace office::excel {
namespace {

int32_t blockOf(int32_t row) { return (row - 1) / CellStore::kBlockRows; }
size_t slotOf(int32_t row) { return static_cast<size_t>((row - 1) % CellStore::kBlockRows); }

}  // namespace

const CellStore::Block* CellStore::findBlock(int32_t row, int32_t column) const {
  auto c = columns_.find(column);
  if (c == columns_.end()) return nullptr;
  auto b = c->second.find(blockOf(row));
  return b == c->second.end() ? nullptr : b->second.get();
}

CellStore::Block& CellStore::block(int32_t row, int32_t column) {
  auto& made = columns_[column][blockOf(row)];
  if (!made) {
    made = std::make_unique<Block>();
    made->styles.fill(columnStyle(column));
  }
  return *made;
}

Cell CellStore::get(int32_t row, int32_t column) const {
  const Block* b = findBlock(row, column);
  if (!b) return Cell{{}, columnStyle(column)};
  const size_t slot = slotOf(row);
  switch (b->kinds[slot]) {
    case Kind::Number: return Cell{automation::Variant(b->numbers[slot]), b->styles[slot]};
    case Kind::Other: return Cell{b->others.at(static_cast<int32_t>(slot)), b->styles[slot]};
    case Kind::Empty: break;
  }
  return Cell{{}, b->styles[slot]};
}

StyleTable::Index CellStore::styleAt(int32_t row, int32_t column) const {
  const Block* b = findBlock(row, column);
  return b ? b->styles[slotOf(row)] : columnStyle(column);
}

void CellStore::set(int32_t row, int32_t column, const Cell& cell) {
  setValue(row, column, cell.value);
  block(row, column).styles[slotOf(row)] = cell.style;
}

void CellStore::setValue(int32_t row, int32_t column, automation::Variant value) {
  Block& b = block(row, column);
  const size_t slot = slotOf(row);
  if (b.kinds[slot] == Kind::Other) b.others.erase(static_cast<int32_t>(slot));
  if (value.varType() == automation::vbDouble) {
    b.kinds[slot] = Kind::Number;
    b.numbers[slot] = value.asDouble();
  } else if (value.isEmpty()) {
    b.kinds[slot] = Kind::Empty;
  } else {
    b.kinds[slot] = Kind::Other;
    b.others[static_cast<int32_t>(slot)] = std::move(value);
  }
}

void CellStore::setStyle(int32_t row, int32_t column, StyleTable::Index style) {
  block(row, column).styles[slotOf(row)] = style;
}

void CellStore::clearValue(int32_t row, int32_t column) {
  if (findBlock(row, column)) setValue(row, column, {});
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

void CellStore::visitUsed(const Block& block, int32_t slot, int32_t row, int32_t column, StyleTable::Index plain,
                          const std::function<void(int32_t, int32_t, const Cell&)>& visit) const {
  const auto s = static_cast<size_t>(slot);
  switch (block.kinds[s]) {
    case Kind::Number: visit(row, column, Cell{automation::Variant(block.numbers[s]), block.styles[s]}); return;
    case Kind::Other: visit(row, column, Cell{block.others.at(slot), block.styles[s]}); return;
    case Kind::Empty:
      if (block.styles[s] != plain) visit(row, column, Cell{{}, block.styles[s]});
      return;
  }
}

void CellStore::forEachUsed(const std::function<void(int32_t row, int32_t column, const Cell&)>& visit) const {
  for (const auto& [column, blocks] : columns_) {
    const StyleTable::Index plain = columnStyle(column);
    for (const auto& [index, b] : blocks)
      for (int32_t slot = 0; slot < kBlockRows; ++slot)
        visitUsed(*b, slot, index * kBlockRows + slot + 1, column, plain, visit);
  }
}

void CellStore::forEachUsedByRow(const std::function<void(int32_t row, int32_t column, const Cell&)>& visit) const {
  std::set<int32_t> indexes;
  for (const auto& [column, blocks] : columns_)
    for (const auto& [index, b] : blocks) indexes.insert(index);
  struct Part {
    int32_t column;
    StyleTable::Index plain;
    const Block* block;
  };
  std::vector<Part> parts;
  for (const int32_t index : indexes) {
    parts.clear();
    for (const auto& [column, blocks] : columns_)
      if (auto b = blocks.find(index); b != blocks.end()) parts.push_back({column, columnStyle(column), b->second.get()});
    for (int32_t slot = 0; slot < kBlockRows; ++slot)
      for (const Part& part : parts) visitUsed(*part.block, slot, index * kBlockRows + slot + 1, part.column, part.plain, visit);
  }
}

template <class Visit>
void CellStore::forEachSpan(const Blocks& blocks, int32_t firstRow, int32_t lastRow, Visit visit) {
  for (auto b = blocks.lower_bound(blockOf(firstRow)); b != blocks.end() && b->first <= blockOf(lastRow); ++b) {
    const int32_t base = b->first * kBlockRows + 1;
    visit(*b->second, slotOf(std::max(firstRow, base)), slotOf(std::min(lastRow, base + kBlockRows - 1)));
  }
}

void CellStore::forEachStyleInColumn(int32_t column, int32_t firstRow, int32_t lastRow,
                                     const std::function<void(StyleTable::Index)>& visit) const {
  auto c = columns_.find(column);
  if (c == columns_.end()) return;
  forEachSpan(c->second, firstRow, lastRow, [&](Block& b, size_t first, size_t last) {
    for (size_t slot = first; slot <= last; ++slot) visit(b.styles[slot]);
  });
}

void CellStore::restyleColumn(int32_t column, int32_t firstRow, int32_t lastRow,
                              const std::function<StyleTable::Index(StyleTable::Index)>& change) {
  auto c = columns_.find(column);
  if (c == columns_.end()) return;
  forEachSpan(c->second, firstRow, lastRow, [&](Block& b, size_t first, size_t last) {
    auto& styles = b.styles;
    for (size_t slot = first; slot <= last; ++slot) styles[slot] = change(styles[slot]);
  });
}

std::vector<int32_t> CellStore::columns() const {
  std::vector<int32_t> result;
  for (const auto& [column, blocks] : columns_)
    if (!blocks.empty()) result.push_back(column);
  return result;
}

void CellStore::clearValues(int32_t row1, int32_t column1, int32_t row2, int32_t column2) {
  for (auto c = columns_.lower_bound(column1); c != columns_.end() && c->first <= column2; ++c) {
    forEachSpan(c->second, row1, row2, [](Block& block, size_t first, size_t last) {
      for (size_t slot = first; slot <= last; ++slot) {
        if (block.kinds[slot] == Kind::Other) block.others.erase(static_cast<int32_t>(slot));
        block.kinds[slot] = Kind::Empty;
      }
    });
  }
}

}  // namespace office::excel
