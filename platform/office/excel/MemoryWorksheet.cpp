#include "office/excel/MemoryWorksheet.h"
#include "office/excel/MemoryChart.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "automation/Conversions.h"
#include "office/Errors.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryRange.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorkbook.h"

namespace office::excel {

using automation::Variant;

MemoryWorksheet::MemoryWorksheet(std::weak_ptr<MemoryWorkbook> workbook, std::string name)
    : MemorySheet(std::move(workbook), std::move(name)) {}

std::shared_ptr<MemoryWorkbook> MemoryWorksheet::book(bool changing) const {
  auto workbook = liveWorkbook();
  if (changing) workbook->touch();
  return workbook;
}

std::string MemoryWorksheet::Name() const {
  book();
  return sheetName();
}

void MemoryWorksheet::setName(const std::string& name) { rename(name); }

int32_t MemoryWorksheet::Index() const { return book()->indexOf(this); }

bool MemoryWorksheet::isActive() const {
  auto workbook = book();
  auto app = workbook->application();
  return app && app->activeWorkbook() == workbook && workbook->activeSheet().get() == this;
}

void MemoryWorksheet::Activate() {
  auto workbook = book();
  auto app = workbook->application();
  // Excel activates sheets of the active workbook only.
  if (!app || app->activeWorkbook() != workbook) throw methodFailed("Activate", "Worksheet");
  workbook->activateSheet(self());
}

void MemoryWorksheet::sheetActivated() {}

std::shared_ptr<Workbook> MemoryWorksheet::Parent() { return book(); }

std::shared_ptr<excel::Application> MemoryWorksheet::Application() { return book()->application(); }

const CellStyle& MemoryWorksheet::style(int32_t row, int32_t column) const {
  return book()->styles().at(cells().styleAt(row, column));
}

double MemoryWorksheet::columnWidth(int32_t column) const {
  auto found = widths_.find(column);
  return found == widths_.end() ? kStandardColumnWidth : found->second;
}

namespace {

// Excel draws a column of w characters of the standard font (7 pixels a digit) as w * 7 + 5
// pixels (the 5 are the cell's margins and grid line), and one narrower than a character as
// w * 12 pixels; it keeps only widths it can draw.
int32_t widthPixels(double width) {
  if (width <= 0) return 0;
  if (width < 1) return static_cast<int32_t>(std::lround(width * 12.0));
  return static_cast<int32_t>(std::lround(width * 7.0 + 5.0));
}

double widthOfPixels(int32_t pixels) {
  const double width = pixels < 12 ? pixels / 12.0 : (pixels - 5) / 7.0;
  return std::round(width * 100.0) / 100.0;
}

}  // namespace

void MemoryWorksheet::setColumnWidth(int32_t column, double width) {
  const double shown = widthOfPixels(widthPixels(width));
  if (shown == kStandardColumnWidth)
    widths_.erase(column);
  else
    widths_[column] = shown;
}

double MemoryWorksheet::columnWidthPoints(int32_t column) const {
  return widthPixels(columnWidth(column)) * 0.75;
}

double MemoryWorksheet::rowHeight(int32_t row) const {
  auto found = heights_.find(row);
  return found == heights_.end() ? kStandardRowHeight : found->second;
}

double MemoryWorksheet::columnLeft(int32_t column) const {
  // Standard columns are counted in one step, so the edge of column XFD costs as much as B's.
  const double standard = widthPixels(kStandardColumnWidth) * 0.75;
  double left = (column - 1) * standard;
  for (const auto& [c, width] : widths_) {
    if (c >= column) break;
    left += widthPixels(width) * 0.75 - standard;
  }
  return left;
}

double MemoryWorksheet::rowTop(int32_t row) const {
  double top = (row - 1) * kStandardRowHeight;
  for (const auto& [r, height] : heights_) {
    if (r >= row) break;
    top += height - kStandardRowHeight;
  }
  return top;
}

automation::ObjectPtr MemoryWorksheet::ChartObjects(const Variant& index) { return chartObjects(self(), index); }

void MemoryWorksheet::select(const Area& area, int32_t activeRow, int32_t activeColumn) {
  selection_ = area;
  activeRow_ = activeRow;
  activeColumn_ = activeColumn;
  if (auto app = book()->application()) app->selectObject(nullptr);
}

}  // namespace office::excel

namespace office::excel {

Area MemoryWorksheet::areaOf(const Variant& cell, const char* property) {
  if (cell.isString()) {
    std::string_view text = cell.asString();
    // A reference may name this sheet: "Sheet1!B3", "'Dec 4, 2026'!B3".
    if (const size_t bang = text.rfind('!'); bang != std::string_view::npos) {
      std::string_view sheetPart = text.substr(0, bang);
      std::string name;
      if (sheetPart.size() >= 2 && sheetPart.front() == '\'' && sheetPart.back() == '\'') {
        sheetPart = sheetPart.substr(1, sheetPart.size() - 2);
        for (size_t i = 0; i < sheetPart.size(); ++i) {
          name += sheetPart[i];
          if (sheetPart[i] == '\'' && i + 1 < sheetPart.size() && sheetPart[i + 1] == '\'') ++i;
        }
      } else {
        name = std::string(sheetPart);
      }
      if (!automation::equalsNoCase(name, sheetName())) throw excelError(std::string("Method '") + property + "' of object '_Worksheet' failed");
      text = text.substr(bang + 1);
    }
    if (auto area = parseA1(text)) return *area;
  } else if (cell.isObject()) {
    if (auto range = std::dynamic_pointer_cast<MemoryRange>(cell.asObject()); range && range->sheet().get() == this)
      return range->area();
  }
  throw excelError(std::string("Method '") + property + "' of object '_Worksheet' failed");
}

std::shared_ptr<excel::Range> MemoryWorksheet::rangeOf(const Area& area) {
  return std::make_shared<MemoryRange>(self(), area);
}

std::shared_ptr<excel::Range> MemoryWorksheet::Range(const Variant& cell1, const Variant& cell2) {
  book();
  Area area = areaOf(cell1, "Range");
  if (!cell2.isEmpty()) area = Area::span(area, areaOf(cell2, "Range"));
  return rangeOf(area);
}

std::shared_ptr<excel::Range> MemoryWorksheet::Cells(const Variant& row, const Variant& column) {
  book();
  const int32_t r = rowArgument(row), c = columnArgument(column);
  return rangeOf(Area{r, c, r, c});
}

std::shared_ptr<excel::Range> MemoryWorksheet::Cells() {
  book();
  return rangeOf(Area{1, 1, kMaxRows, kMaxColumns});
}

std::shared_ptr<excel::Range> MemoryWorksheet::Columns(const Variant& index) {
  book();
  Area area{1, 1, kMaxRows, kMaxColumns};
  if (index.isString()) {
    // "B" or "B:D"
    const std::string& text = index.asString();
    const size_t colon = text.find(':');
    auto first = columnNumber(std::string_view(text).substr(0, colon));
    auto last = colon == std::string::npos ? first : columnNumber(std::string_view(text).substr(colon + 1));
    if (!first || !last) throw applicationDefinedError();
    area.column1 = std::min(*first, *last);
    area.column2 = std::max(*first, *last);
  } else if (!index.isEmpty()) {
    area.column1 = area.column2 = columnArgument(index);
  }
  return std::make_shared<MemoryRange>(self(), area, MemoryRange::Kind::Columns);
}

std::shared_ptr<excel::Range> MemoryWorksheet::Rows(const Variant& index) {
  book();
  Area area{1, 1, kMaxRows, kMaxColumns};
  if (index.isString()) {
    auto parsed = parseA1(index.asString());
    if (!parsed || !parsed->wholeRows()) throw applicationDefinedError();
    area = *parsed;
  } else if (!index.isEmpty()) {
    area.row1 = area.row2 = rowArgument(index);
  }
  return std::make_shared<MemoryRange>(self(), area, MemoryRange::Kind::Rows);
}

const std::vector<std::shared_ptr<MemoryShape>>& MemoryWorksheet::shapes() const {
  static const std::vector<std::shared_ptr<MemoryShape>> none;
  return shapes_ ? shapes_->all() : none;
}

std::shared_ptr<excel::Shapes> MemoryWorksheet::Shapes() {
  book();
  if (!shapes_) shapes_ = std::make_shared<MemoryShapes>(self());
  return shapes_;
}

const CellStore& MemoryWorksheet::cells() const {
  if (reload_) {
    cells_ = reload_();
    reload_ = nullptr;
  }
  return cells_;
}

CellStore& MemoryWorksheet::cells() {
  return const_cast<CellStore&>(std::as_const(*this).cells());
}

void MemoryWorksheet::releaseCells(CellLoader reload) {
  cells_ = CellStore();
  reload_ = std::move(reload);
}

void MemoryWorksheet::readCells(const std::function<void(const CellStore&)>& visit) const {
  if (!reload_) return visit(cells_);
  const CellStore loaded = reload_();
  visit(loaded);
}

}  // namespace office::excel
