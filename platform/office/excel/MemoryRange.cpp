#include "office/excel/MemoryRange.h"

#include <cmath>
#include <limits>
#include <unordered_map>

#include "automation/Conversions.h"
#include "automation/SafeArray.h"
#include "office/Errors.h"
#include "office/excel/CellEntry.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryCharacters.h"
#include "office/excel/MemoryFont.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"

namespace office::excel {

using automation::Variant;

namespace {

constexpr char kNotAvailable[] = "#N/A";

bool validAlignment(int32_t alignment) {
  switch (alignment) {
    case xlGeneral:
    case xlLeft:
    case xlCenter:
    case xlRight:
    case xlHAlignFill:
    case xlHAlignJustify:
    case xlHAlignCenterAcrossSelection:
    case xlHAlignDistributed:
      return true;
    default:
      return false;
  }
}

// A number as a cell keeps it: a value that is not finite (no cell can show one) becomes the
// error value #NUM!, as in Excel.
Variant cellNumber(double value) {
  return std::isfinite(value) ? Variant(value) : Variant::error(xlErrNum);
}

// What a cell keeps of a value put into it: Excel holds every number as a Double.
Variant cellValue(const Variant& value) {
  switch (value.varType()) {
    case automation::vbEmpty:
    case automation::vbNull:
      return Variant();
    case automation::vbInteger:
    case automation::vbLong:
    case automation::vbByte:
      return Variant(automation::CDbl(value));
    case automation::vbDouble:
      return cellNumber(value.asDouble());
    case automation::vbBoolean:
    case automation::vbDate:
    case automation::vbString:
    case automation::vbError:
      return value;
    default:
      throw applicationDefinedError();
  }
}

// Writes cells one after another, interning each changed style once per distinct old style,
// so a column of a hundred thousand cells with one style costs one look-up.
class CellWriter {
 public:
  explicit CellWriter(MemoryWorksheet& sheet) : sheet_(sheet), styles_(sheet.book(true)->styles()) {}

  void write(int32_t row, int32_t column, Variant value) {
    CellStore& cells = sheet_.cells();
    // Text is taken as if typed into the cell.
    if (value.isString()) value = enteredValue(value.asString(), styles_.at(cells.styleAt(row, column)).numberFormat);
    DateFormat date = DateFormat::None;
    if (value.varType() == automation::vbDate) {
      const double days = value.asDate().serial();
      date = days == std::floor(days) ? DateFormat::Date : DateFormat::DateTime;
    }
    cells.setValue(row, column, std::move(value));
    const StyleTable::Index old = cells.styleAt(row, column);
    const CellStyle& style = styles_.at(old);
    if (style.hasCharacterFonts() || (date != DateFormat::None && style.numberFormat == "General"))
      cells.setStyle(row, column, restyle(old, date));
  }

 private:
  enum class DateFormat { None, Date, DateTime };

  // New contents drop the old text's character fonts; a date given to a General cell brings
  // Excel's short date format, with the time when it has one.
  StyleTable::Index restyle(StyleTable::Index old, DateFormat date) {
    const uint64_t key = (static_cast<uint64_t>(old) << 2) | static_cast<uint64_t>(date);
    if (auto found = memo_.find(key); found != memo_.end()) return found->second;
    CellStyle style = styles_.at(old);
    style.runs.clear();
    if (date != DateFormat::None && style.numberFormat == "General")
      style.numberFormat = date == DateFormat::Date ? "m/d/yyyy" : "m/d/yyyy h:mm";
    return memo_[key] = styles_.intern(style);
  }

  MemoryWorksheet& sheet_;
  StyleTable& styles_;
  std::unordered_map<uint64_t, StyleTable::Index> memo_;
};

}  // namespace

int32_t rowArgument(const Variant& row) {
  const int32_t value = automation::CLng(row);
  if (value < 1 || value > kMaxRows) throw applicationDefinedError();
  return value;
}

int32_t columnArgument(const Variant& column) {
  if (column.isString()) {
    if (auto number = columnNumber(column.asString())) return *number;
    throw applicationDefinedError();
  }
  const int32_t value = automation::CLng(column);
  if (value < 1 || value > kMaxColumns) throw applicationDefinedError();
  return value;
}

MemoryRange::MemoryRange(std::shared_ptr<MemoryWorksheet> sheet, Area area, Kind kind)
    : sheet_(std::move(sheet)), area_(area), kind_(kind) {}

std::shared_ptr<excel::Worksheet> MemoryRange::Worksheet() {
  sheet_->book();
  return sheet_;
}

std::shared_ptr<excel::Application> MemoryRange::Application() { return sheet_->book()->application(); }

Variant MemoryRange::Value() {
  sheet_->book();
  const CellStore& cells = sheet_->cells();
  if (area_.rows() == 1 && area_.columns() == 1) return cells.get(area_.row1, area_.column1).value;
  automation::SafeArray array(automation::vbVariant, {{1, area_.rows()}, {1, area_.columns()}});
  for (int32_t c = 0; c < area_.columns(); ++c)
    for (int32_t r = 0; r < area_.rows(); ++r) {
      const int32_t at[] = {r + 1, c + 1};
      array.set(at, cells.get(area_.row1 + r, area_.column1 + c).value);
    }
  return Variant(std::move(array));
}

void MemoryRange::setValue(const Variant& value) {
  CellWriter writer(*sheet_);
  if (!value.isArray()) {
    const Variant stored = cellValue(value);
    if (stored.isEmpty()) {
      // Clearing writes no cells: a cleared column stays as sparse as it was.
      sheet_->cells().clearValues(area_.row1, area_.column1, area_.row2, area_.column2);
      return;
    }
    for (int32_t c = area_.column1; c <= area_.column2; ++c)
      for (int32_t r = area_.row1; r <= area_.row2; ++r) writer.write(r, c, stored);
    return;
  }

  const automation::SafeArray& array = value.asArray();
  if (array.dimensions() > 2) throw applicationDefinedError();
  // A 1-D array is one row; a 2-D array is (row, column), its first subscript varying fastest.
  const bool oneDimension = array.dimensions() == 1;
  const int32_t arrayRows = oneDimension ? 1 : array.bounds()[0].count;
  const int32_t arrayColumns = oneDimension ? array.bounds()[0].count : array.bounds()[1].count;
  const bool doubles = array.elementType() == automation::vbDouble;
  const std::span<const double> raw = doubles ? array.doubles() : std::span<const double>();

  for (int32_t c = 0; c < area_.columns(); ++c) {
    // A single column of the array is repeated across the range, a single row down it.
    const int32_t ac = arrayColumns == 1 ? 0 : c;
    for (int32_t r = 0; r < area_.rows(); ++r) {
      const int32_t ar = arrayRows == 1 ? 0 : r;
      const int32_t row = area_.row1 + r, column = area_.column1 + c;
      if (ar >= arrayRows || ac >= arrayColumns) {
        writer.write(row, column, Variant(kNotAvailable));
        continue;
      }
      const size_t offset = static_cast<size_t>(ar) + static_cast<size_t>(ac) * static_cast<size_t>(arrayRows);
      if (doubles) {
        writer.write(row, column, cellNumber(raw[offset]));
      } else {
        Variant stored = cellValue(array.element(offset));
        if (stored.isEmpty()) {
          sheet_->cells().clearValue(row, column);
        } else {
          writer.write(row, column, std::move(stored));
        }
      }
    }
  }
}

std::string MemoryRange::Address(bool rowAbsolute, bool columnAbsolute, int32_t referenceStyle, bool external,
                                 std::shared_ptr<Range> relativeTo) {
  auto book = sheet_->book();
  if (referenceStyle != xlA1 && referenceStyle != xlR1C1) throw methodFailed("Address", "Range");
  AddressStyle style{rowAbsolute, columnAbsolute, referenceStyle, sheet_->activeRow(), sheet_->activeColumn()};
  if (relativeTo) {
    style.relativeRow = relativeTo->Row();
    style.relativeColumn = relativeTo->Column();
  }
  std::string address = formatAddress(area_, style);
  if (external) address = quoteSheetName(sheet_->sheetName(), book->Name()) + "!" + address;
  return address;
}

int32_t MemoryRange::Row() {
  sheet_->book();
  return area_.row1;
}

int32_t MemoryRange::Column() {
  sheet_->book();
  return area_.column1;
}

int32_t MemoryRange::Count() {
  sheet_->book();
  int64_t count = kind_ == Kind::Rows      ? area_.rows()
                  : kind_ == Kind::Columns ? area_.columns()
                                           : static_cast<int64_t>(area_.rows()) * area_.columns();
  // The whole sheet has more cells than a Long holds; Excel overflows there too.
  if (count > std::numeric_limits<int32_t>::max()) throw automation::Error::vb(automation::vbErrOverflow);
  return static_cast<int32_t>(count);
}

std::shared_ptr<Range> MemoryRange::Rows() { return std::make_shared<MemoryRange>(sheet_, area_, Kind::Rows); }

std::shared_ptr<Range> MemoryRange::Columns() { return std::make_shared<MemoryRange>(sheet_, area_, Kind::Columns); }

std::shared_ptr<Range> MemoryRange::EntireColumn() {
  return std::make_shared<MemoryRange>(sheet_, Area{1, area_.column1, kMaxRows, area_.column2}, Kind::Columns);
}

std::shared_ptr<Range> MemoryRange::EntireRow() {
  return std::make_shared<MemoryRange>(sheet_, Area{area_.row1, 1, area_.row2, kMaxColumns}, Kind::Rows);
}

std::shared_ptr<Range> MemoryRange::Cells(const Variant& row, const Variant& column) {
  sheet_->book();
  const int64_t r = static_cast<int64_t>(area_.row1) + automation::CLng(row) - 1;
  int64_t c = area_.column1;
  if (column.isString()) {
    auto number = columnNumber(column.asString());
    if (!number) throw applicationDefinedError();
    c += *number - 1;
  } else {
    c += automation::CLng(column) - 1;
  }
  if (r < 1 || r > kMaxRows || c < 1 || c > kMaxColumns) throw applicationDefinedError();
  const auto rr = static_cast<int32_t>(r), cc = static_cast<int32_t>(c);
  return std::make_shared<MemoryRange>(sheet_, Area{rr, cc, rr, cc});
}

Variant MemoryRange::ColumnWidth() {
  sheet_->book();
  const double first = sheet_->columnWidth(area_.column1);
  for (int32_t c = area_.column1 + 1; c <= area_.column2; ++c)
    if (sheet_->columnWidth(c) != first) return Variant::null();
  return Variant(first);
}

void MemoryRange::setColumnWidth(double width) {
  sheet_->book(true);
  if (!(width >= 0 && width <= kMaxColumnWidth)) throw unableToSet("ColumnWidth", "Range");
  for (int32_t c = area_.column1; c <= area_.column2; ++c) sheet_->setColumnWidth(c, width);
}

Variant MemoryRange::RowHeight() {
  sheet_->book();
  const double first = sheet_->rowHeight(area_.row1);
  // Rows of standard height are all alike; only rows given a height of their own can differ.
  if (area_.rows() > 1 && (sheet_->rowHeight(area_.row2) != first)) return Variant::null();
  return Variant(first);
}

void MemoryRange::changeStyles(const std::function<void(CellStyle&)>& change) {
  auto book = sheet_->book(true);
  StyleTable& styles = book->styles();
  std::unordered_map<StyleTable::Index, StyleTable::Index> memo;
  auto changed = [&](StyleTable::Index old) {
    if (auto found = memo.find(old); found != memo.end()) return found->second;
    CellStyle style = styles.at(old);
    change(style);
    return memo[old] = styles.intern(style);
  };
  CellStore& cells = sheet_->cells();
  for (int32_t c = area_.column1; c <= area_.column2; ++c) {
    if (area_.wholeColumns()) {
      // A whole column keeps the style for cells it does not have yet.
      cells.setColumnStyle(c, changed(cells.columnStyle(c)));
      cells.restyleColumn(c, 1, kMaxRows, changed);
    } else if (area_.wholeRows()) {
      // Whole rows change the cells they have; rows keep no style of their own here.
      cells.restyleColumn(c, area_.row1, area_.row2, changed);
    } else {
      for (int32_t r = area_.row1; r <= area_.row2; ++r) cells.setStyle(r, c, changed(cells.styleAt(r, c)));
    }
  }
}

Variant MemoryRange::commonStyleValue(const std::function<Variant(const CellStyle&)>& property) {
  auto book = sheet_->book();
  const StyleTable& styles = book->styles();
  const CellStore& cells = sheet_->cells();
  std::optional<Variant> common;
  bool mixed = false;
  auto consider = [&](StyleTable::Index index) {
    Variant value = property(styles.at(index));
    if (!common)
      common = std::move(value);
    else if (!(*common == value))
      mixed = true;
  };
  for (int32_t c = area_.column1; c <= area_.column2 && !mixed; ++c) {
    if (area_.wholeColumns() || area_.wholeRows()) {
      consider(cells.columnStyle(c));
      cells.forEachStyleInColumn(c, area_.row1, area_.row2, consider);
    } else {
      for (int32_t r = area_.row1; r <= area_.row2 && !mixed; ++r) consider(cells.styleAt(r, c));
    }
  }
  return mixed || !common ? Variant::null() : *common;
}

Variant MemoryRange::HorizontalAlignment() {
  return commonStyleValue([](const CellStyle& s) { return Variant(s.horizontalAlignment); });
}

void MemoryRange::setHorizontalAlignment(int32_t alignment) {
  sheet_->book();
  if (!validAlignment(alignment)) throw unableToSet("HorizontalAlignment", "Range");
  changeStyles([&](CellStyle& s) { s.horizontalAlignment = alignment; });
}

Variant MemoryRange::NumberFormat() {
  return commonStyleValue([](const CellStyle& s) { return Variant(s.numberFormat); });
}

void MemoryRange::setNumberFormat(const std::string& format) {
  changeStyles([&](CellStyle& s) { s.numberFormat = format.empty() ? "General" : format; });
}

std::shared_ptr<excel::Font> MemoryRange::Font() {
  sheet_->book();
  return std::make_shared<MemoryFont>(std::static_pointer_cast<MemoryRange>(shared_from_this()));
}

std::shared_ptr<excel::Characters> MemoryRange::Characters(const Variant& start, const Variant& length) {
  sheet_->book();
  const int32_t first = start.isEmpty() ? 1 : automation::CLng(start);
  const std::optional<int32_t> count =
      length.isEmpty() ? std::nullopt : std::optional<int32_t>(automation::CLng(length));
  if (first < 1 || (count && *count < 0)) throw unableToGet("Characters", "Range");
  return std::make_shared<MemoryCharacters>(sheet_, area_.row1, area_.column1, first, count);
}

void MemoryRange::Select() {
  if (!sheet_->isActive()) throw methodFailed("Select", "Range");
  sheet_->select(area_, area_.row1, area_.column1);
}

void MemoryRange::Activate() {
  if (!sheet_->isActive()) throw methodFailed("Activate", "Range");
  const bool oneCell = area_.rows() == 1 && area_.columns() == 1;
  if (oneCell && sheet_->selection().contains(area_.row1, area_.column1))
    sheet_->select(sheet_->selection(), area_.row1, area_.column1);
  else
    sheet_->select(area_, area_.row1, area_.column1);
}

double MemoryRange::Left() { return sheet_->columnLeft(area_.column1); }

double MemoryRange::Top() { return sheet_->rowTop(area_.row1); }

double MemoryRange::Width() { return sheet_->columnLeft(area_.column2 + 1) - sheet_->columnLeft(area_.column1); }

double MemoryRange::Height() { return sheet_->rowTop(area_.row2 + 1) - sheet_->rowTop(area_.row1); }

}  // namespace office::excel
