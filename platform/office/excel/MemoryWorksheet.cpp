#include "office/excel/MemoryWorksheet.h"

#include <cmath>

#include "automation/Conversions.h"
#include "office/Errors.h"
#include "office/excel/MemoryApplication.h"
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
  return book()->styles().at(cells_.get(row, column).style);
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

void MemoryWorksheet::select(const Area& area, int32_t activeRow, int32_t activeColumn) {
  selection_ = area;
  activeRow_ = activeRow;
  activeColumn_ = activeColumn;
  if (auto app = book()->application()) app->selectObject(nullptr);
}

}  // namespace office::excel

// Ranges and shapes of the sheet follow with the range model.
namespace office::excel {
std::shared_ptr<excel::Range> MemoryWorksheet::Range(const Variant&, const Variant&) { throw applicationDefinedError(); }
std::shared_ptr<excel::Range> MemoryWorksheet::Cells(const Variant&, const Variant&) { throw applicationDefinedError(); }
std::shared_ptr<excel::Range> MemoryWorksheet::Cells() { throw applicationDefinedError(); }
std::shared_ptr<excel::Range> MemoryWorksheet::Columns(const Variant&) { throw applicationDefinedError(); }
std::shared_ptr<excel::Range> MemoryWorksheet::Rows(const Variant&) { throw applicationDefinedError(); }
std::shared_ptr<excel::Shapes> MemoryWorksheet::Shapes() { throw applicationDefinedError(); }
std::shared_ptr<excel::Range> MemoryWorksheet::rangeOf(const Area&) { return nullptr; }
}  // namespace office::excel
