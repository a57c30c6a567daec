#include "SheetCodec.h"

#include <fmt/format.h>

#include <bit>
#include <cstring>
#include <map>
#include <optional>
#include <type_traits>
#include <vector>

#include "automation/Date.h"
#include "automation/Variant.h"
#include "office/excel/Chart.h"
#include "office/excel/MemoryChart.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"


namespace zelhost {

namespace xl = office::excel;
using automation::Variant;

namespace {

static_assert(std::endian::native == std::endian::little, "the journal is written little-endian");

// Value kinds of a cell, as stored.
enum class Kind : uint8_t { Empty, Double, Boolean, Date, String, Integer, Long, Error };

class Out {
 public:
  template <class T>
    requires std::is_arithmetic_v<T>
  void put(T value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void put(const std::string& text) {
    put(static_cast<uint32_t>(text.size()));
    bytes += text;
  }
  template <class T>
  void put(const std::optional<T>& value) {
    put(static_cast<uint8_t>(value.has_value()));
    if (value) put(*value);
  }
  std::string bytes;
};

class In {
 public:
  explicit In(const std::string& bytes) : bytes_(bytes) {}
  template <class T>
    requires std::is_arithmetic_v<T>
  T get() {
    T value;
    std::memcpy(&value, take(sizeof value), sizeof value);
    return value;
  }
  std::string text() {
    const auto size = get<uint32_t>();
    return std::string(take(size), size);
  }
  template <class T>
  std::optional<T> maybe(T (In::*read)()) {
    if (!get<uint8_t>()) return std::nullopt;
    return (this->*read)();
  }
  bool done() const { return at_ == bytes_.size(); }

  double number() { return get<double>(); }
  bool flag() { return get<uint8_t>() != 0; }

 private:
  const char* take(size_t size) {
    if (size > bytes_.size() - at_) throw SheetDecodeError("the sheet's record ends too early");
    const char* where = bytes_.data() + at_;
    at_ += size;
    return where;
  }
  const std::string& bytes_;
  size_t at_ = 0;
};

void putFont(Out& out, const xl::FontSpec& font) {
  out.put(font.name);
  out.put(font.size);
  out.put(static_cast<uint8_t>(font.bold));
  out.put(static_cast<uint8_t>(font.italic));
}
xl::FontSpec getFont(In& in) {
  xl::FontSpec font;
  font.name = in.text();
  font.size = in.number();
  font.bold = in.flag();
  font.italic = in.flag();
  return font;
}

void putStyle(Out& out, const xl::CellStyle& style) {
  out.put(style.numberFormat);
  out.put(style.horizontalAlignment);
  putFont(out, style.font);
  out.put(static_cast<uint32_t>(style.runs.size()));
  for (const xl::FontRun& run : style.runs) {
    out.put(run.start);
    out.put(run.length);
    out.put(run.name);
    out.put(run.size);
    out.put(run.bold ? std::optional<uint8_t>(*run.bold) : std::nullopt);
    out.put(run.italic ? std::optional<uint8_t>(*run.italic) : std::nullopt);
  }
}
xl::CellStyle getStyle(In& in) {
  xl::CellStyle style;
  style.numberFormat = in.text();
  style.horizontalAlignment = in.get<int32_t>();
  style.font = getFont(in);
  for (auto runs = in.get<uint32_t>(); runs > 0; --runs) {
    xl::FontRun run;
    run.start = in.get<int32_t>();
    run.length = in.get<int32_t>();
    run.name = in.maybe(&In::text);
    run.size = in.maybe(&In::number);
    run.bold = in.maybe(&In::flag);
    run.italic = in.maybe(&In::flag);
    style.runs.push_back(run);
  }
  return style;
}

void putValue(Out& out, const Variant& value, const xl::MemoryWorksheet& sheet, int32_t row, int32_t column) {
  switch (value.varType()) {
    case automation::vbEmpty: out.put(static_cast<uint8_t>(Kind::Empty)); return;
    case automation::vbDouble: out.put(static_cast<uint8_t>(Kind::Double)); out.put(value.asDouble()); return;
    case automation::vbBoolean: out.put(static_cast<uint8_t>(Kind::Boolean)); out.put(uint8_t{value.asBoolean()}); return;
    case automation::vbDate: out.put(static_cast<uint8_t>(Kind::Date)); out.put(value.asDate().serial()); return;
    case automation::vbString: out.put(static_cast<uint8_t>(Kind::String)); out.put(value.asString()); return;
    case automation::vbInteger: out.put(static_cast<uint8_t>(Kind::Integer)); out.put(value.asInteger()); return;
    case automation::vbLong: out.put(static_cast<uint8_t>(Kind::Long)); out.put(value.asLong()); return;
    case automation::vbError: out.put(static_cast<uint8_t>(Kind::Error)); out.put(value.asError()); return;
    default:
      throw SheetDecodeError(fmt::format("'{}'!{}{} holds a value of type {}, which cannot be kept", sheet.sheetName(),
                                         xl::columnLetters(column), row, automation::TypeName(value)));
  }
}
Variant getValue(In& in) {
  switch (static_cast<Kind>(in.get<uint8_t>())) {
    case Kind::Empty: return {};
    case Kind::Double: return Variant(in.number());
    case Kind::Boolean: return Variant(in.flag());
    case Kind::Date: return Variant(automation::Date(in.number()));
    case Kind::String: return Variant(in.text());
    case Kind::Integer: return Variant(in.get<int16_t>());
    case Kind::Long: return Variant(in.get<int32_t>());
    case Kind::Error: return Variant::error(in.get<int32_t>());
  }
  throw SheetDecodeError("a cell of an unknown kind");
}

void putArea(Out& out, const xl::Area& area) {
  for (int32_t v : {area.row1, area.column1, area.row2, area.column2}) out.put(v);
}
xl::Area getArea(In& in) {
  xl::Area area;
  area.row1 = in.get<int32_t>();
  area.column1 = in.get<int32_t>();
  area.row2 = in.get<int32_t>();
  area.column2 = in.get<int32_t>();
  return area;
}

void putLine(Out& out, const xl::LineFormat& line) {
  for (int32_t v : {line.colorIndex, line.weight, line.lineStyle}) out.put(v);
}
xl::LineFormat getLine(In& in) {
  xl::LineFormat line;
  line.colorIndex = in.get<int32_t>();
  line.weight = in.get<int32_t>();
  line.lineStyle = in.get<int32_t>();
  return line;
}

void putText(Out& out, const xl::ChartText& text) {
  out.put(text.text);
  out.put(static_cast<uint32_t>(text.fonts.size()));
  for (const auto& font : text.fonts) {
    out.put(static_cast<uint8_t>(font.has_value()));
    if (font) putFont(out, *font);
  }
}
xl::ChartText getText(In& in) {
  xl::ChartText text;
  text.text = in.text();
  for (auto fonts = in.get<uint32_t>(); fonts > 0; --fonts)
    text.fonts.push_back(in.flag() ? std::optional<xl::FontSpec>(getFont(in)) : std::nullopt);
  return text;
}

void putAxis(Out& out, const xl::MemoryAxis& axis) {
  out.put(static_cast<uint8_t>(axis.HasTitle()));
  putText(out, *axis.title());
  out.put(static_cast<uint8_t>(axis.HasMajorGridlines()));
  out.put(static_cast<uint8_t>(axis.HasMinorGridlines()));
  putLine(out, *axis.majorGridlines()->line());
  out.put(axis.minimum());
  out.put(axis.maximum());
  out.put(static_cast<uint8_t>(axis.MinorUnitIsAuto()));
  out.put(static_cast<uint8_t>(axis.MajorUnitIsAuto()));
  out.put(axis.Crosses());
  out.put(axis.crossesAt());
  out.put(static_cast<uint8_t>(axis.ReversePlotOrder()));
  out.put(axis.ScaleType());
}
// In an order the axis accepts: limits before a logarithmic scale, the crossing after.
void getAxis(In& in, xl::MemoryAxis& axis) {
  axis.setHasTitle(in.flag());
  *axis.title() = getText(in);
  axis.setHasMajorGridlines(in.flag());
  axis.setHasMinorGridlines(in.flag());
  *axis.majorGridlines()->line() = getLine(in);
  const auto minimum = in.maybe(&In::number);
  const auto maximum = in.maybe(&In::number);
  axis.setMinorUnitIsAuto(in.flag());
  axis.setMajorUnitIsAuto(in.flag());
  const auto crosses = in.get<int32_t>();
  const auto crossesAt = in.maybe(&In::number);
  axis.setReversePlotOrder(in.flag());
  const auto scaleType = in.get<int32_t>();
  axis.setScaleType(xl::xlScaleLinear);
  axis.setMinimumScaleIsAuto(true);
  axis.setMaximumScaleIsAuto(true);
  if (maximum) axis.setMaximumScale(*maximum);
  if (minimum) axis.setMinimumScale(*minimum);
  axis.setScaleType(scaleType);
  axis.setCrosses(crosses);
  if (crossesAt) axis.setCrossesAt(*crossesAt);
}

// The area SetSourceData was given: the x column and the value columns of the series.
std::optional<xl::Area> sourceArea(const xl::MemoryChart& chart) {
  if (chart.series().empty()) return std::nullopt;
  xl::Area area = chart.series().front()->values();
  if (const auto& x = chart.series().front()->xValues()) area.column1 = x->column1;
  area.column2 = chart.series().back()->values().column2;
  return area;
}

void putChart(Out& out, const xl::MemoryShape& frame, const xl::MemoryChart& chart) {
  out.put(frame.Name());
  for (double v : {frame.Left(), frame.Top(), frame.Width(), frame.Height()}) out.put(v);
  out.put(chart.ChartType());
  const auto source = sourceArea(chart);
  out.put(static_cast<uint8_t>(source.has_value()));
  if (source) putArea(out, *source);
  out.put(static_cast<uint32_t>(chart.series().size()));
  for (const auto& series : chart.series()) putLine(out, *series->line());
  out.put(static_cast<uint8_t>(chart.HasTitle()));
  putText(out, *chart.title());
  out.put(static_cast<uint8_t>(chart.HasLegend()));
  putAxis(out, chart.axis(xl::xlCategory));
  putAxis(out, chart.axis(xl::xlValue));
  putLine(out, *chart.plotArea()->line());
  const xl::FillFormat& fill = *chart.plotArea()->fill();
  for (int32_t v : {fill.colorIndex, fill.patternColorIndex, fill.pattern}) out.put(v);
}

// Built as the system builds it: a chart sheet given its data, then moved into the worksheet.
void getChart(In& in, const std::shared_ptr<xl::MemoryWorkbook>& book, xl::MemoryWorksheet& sheet) {
  const std::string name = in.text();
  const double left = in.number(), top = in.number(), width = in.number(), height = in.number();
  auto chart = std::dynamic_pointer_cast<xl::MemoryChart>(xl::MemoryCharts(book).Add());
  chart->setChartType(in.get<int32_t>());
  if (in.flag()) chart->SetSourceData(sheet.rangeOf(getArea(in)), Variant(int32_t{xl::xlColumns}));
  chart->PlotArea();
  chart->Location(xl::xlLocationAsObject, Variant(sheet.Name()));
  const auto& frame = sheet.shapes().back();
  frame->setName(name);
  frame->setLeft(left);
  frame->setTop(top);
  frame->setWidth(width);
  frame->setHeight(height);

  const auto series = in.get<uint32_t>();
  if (series != chart->series().size())
    throw SheetDecodeError(fmt::format("a chart of {} series came back with {}", series, chart->series().size()));
  for (const auto& one : chart->series()) *one->line() = getLine(in);
  chart->setHasTitle(in.flag());
  *chart->title() = getText(in);
  chart->setHasLegend(in.flag());
  getAxis(in, chart->axis(xl::xlCategory));
  getAxis(in, chart->axis(xl::xlValue));
  *chart->plotArea()->line() = getLine(in);
  xl::FillFormat& fill = *chart->plotArea()->fill();
  fill.colorIndex = in.get<int32_t>();
  fill.patternColorIndex = in.get<int32_t>();
  fill.pattern = in.get<int32_t>();
}

}  // namespace

std::string encodeSheet(const xl::MemoryWorkbook& book, const xl::MemoryWorksheet& sheet) {
  // Styles are numbered afresh for the sheet: the book that reads it back has a table of its own.
  std::map<xl::StyleTable::Index, uint32_t> numbers;
  const auto number = [&](xl::StyleTable::Index index) {
    return numbers.try_emplace(index, static_cast<uint32_t>(numbers.size())).first->second;
  };
  // A column of numbers shares one style: looked up once, not once a cell.
  std::optional<std::pair<xl::StyleTable::Index, uint32_t>> lastStyle;
  const auto cellStyleNumber = [&](xl::StyleTable::Index index) {
    if (!lastStyle || lastStyle->first != index) lastStyle.emplace(index, number(index));
    return lastStyle->second;
  };
  // Cells go in runs down a column that share a style: a column of numbers costs little more
  // than its numbers.
  Out cells;
  uint32_t runs = 0, runLength = 0;
  size_t lengthAt = 0;
  int32_t runColumn = 0, lastRow = 0;
  uint32_t runStyle = 0;
  const auto closeRun = [&] {
    if (runLength > 0) std::memcpy(cells.bytes.data() + lengthAt, &runLength, sizeof runLength);
  };
  sheet.cells().forEachUsed([&](int32_t row, int32_t column, const xl::Cell& cell) {
    const uint32_t style = cellStyleNumber(cell.style);
    if (runLength == 0 || column != runColumn || row != lastRow + 1 || style != runStyle) {
      closeRun();
      ++runs;
      runLength = 0;
      runColumn = column;
      runStyle = style;
      cells.put(column);
      cells.put(row);
      cells.put(style);
      lengthAt = cells.bytes.size();
      cells.put(uint32_t{0});
    }
    putValue(cells, cell.value, sheet, row, column);
    ++runLength;
    lastRow = row;
  });
  closeRun();
  Out columns;
  for (const auto& [column, style] : sheet.cells().columnStyles()) {
    columns.put(column);
    columns.put(number(style));
  }

  Out out;
  out.put(sheet.sheetName());
  out.put(static_cast<uint32_t>(book.indexOf(&sheet) - 1));
  const auto active = book.activeSheet();
  out.put(active ? active->sheetName() : std::string());

  std::vector<xl::StyleTable::Index> byNumber(numbers.size());
  for (const auto& [index, n] : numbers) byNumber[n] = index;
  out.put(static_cast<uint32_t>(byNumber.size()));
  for (const auto index : byNumber) putStyle(out, book.styles().at(index));
  out.put(static_cast<uint32_t>(sheet.cells().columnStyles().size()));
  out.bytes += columns.bytes;
  out.put(static_cast<uint32_t>(sheet.columnWidths().size()));
  for (const auto& [column, width] : sheet.columnWidths()) {
    out.put(column);
    out.put(width);
  }
  putArea(out, sheet.selection());
  out.put(sheet.activeRow());
  out.put(sheet.activeColumn());
  out.put(runs);
  out.bytes += cells.bytes;

  std::vector<std::pair<const xl::MemoryShape*, const xl::MemoryChart*>> charts;
  for (const auto& shape : sheet.shapes())
    if (shape->chart()) charts.emplace_back(shape.get(), shape->chart().get());
  out.put(static_cast<uint32_t>(charts.size()));
  for (const auto& [frame, chart] : charts) putChart(out, *frame, *chart);
  return std::move(out.bytes);
}

namespace {

// What follows a record's name, position and active sheet: the styles (interned into `styles`),
// the column styles and cells (into `cells`) and the layout, returned.
struct Layout {
  std::vector<std::pair<int32_t, double>> widths;
  xl::Area selection;
  int32_t activeRow = 1, activeColumn = 1;
};

Layout readBody(In& in, xl::StyleTable& styles, xl::CellStore& cells) {
  std::vector<xl::StyleTable::Index> indexes;
  for (auto count = in.get<uint32_t>(); count > 0; --count) indexes.push_back(styles.intern(getStyle(in)));
  const auto style = [&](uint32_t number) {
    if (number >= indexes.size()) throw SheetDecodeError("a cell names a style the sheet does not have");
    return indexes[number];
  };
  for (auto count = in.get<uint32_t>(); count > 0; --count) {
    const auto column = in.get<int32_t>();
    cells.setColumnStyle(column, style(in.get<uint32_t>()));
  }
  Layout layout;
  for (auto count = in.get<uint32_t>(); count > 0; --count) {
    const auto column = in.get<int32_t>();
    layout.widths.emplace_back(column, in.number());
  }
  layout.selection = getArea(in);
  layout.activeRow = in.get<int32_t>();
  layout.activeColumn = in.get<int32_t>();
  for (auto runs = in.get<uint32_t>(); runs > 0; --runs) {
    const auto column = in.get<int32_t>();
    const auto row = in.get<int32_t>();
    const auto cellStyle = style(in.get<uint32_t>());
    const auto length = in.get<uint32_t>();
    if (row < 1 || column < 1 || column > xl::kMaxColumns || length > static_cast<uint32_t>(xl::kMaxRows - row + 1))
      throw SheetDecodeError(fmt::format("cells from row {}, column {} on lie outside a sheet", row, column));
    for (uint32_t i = 0; i < length; ++i)
      cells.set(row + static_cast<int32_t>(i), column, xl::Cell{getValue(in), cellStyle});
  }
  return layout;
}

}  // namespace

void decodeSheet(const std::string& bytes, const std::shared_ptr<xl::MemoryWorkbook>& book) {
  In in(bytes);
  const std::string name = in.text();
  const auto position = std::min<size_t>(in.get<uint32_t>(), book->sheets().size());
  const std::string activeName = in.text();
  const auto sheet = book->insertWorksheets(position, 1);
  sheet->setName(name);

  const Layout layout = readBody(in, book->styles(), sheet->cells());
  for (const auto& [column, width] : layout.widths) sheet->setColumnWidth(column, width);
  for (auto count = in.get<uint32_t>(); count > 0; --count) getChart(in, book, *sheet);
  if (!in.done()) throw SheetDecodeError("the sheet's record goes on after its end");
  sheet->select(layout.selection, layout.activeRow, layout.activeColumn);
  if (const auto active = book->findSheet(activeName)) book->activateSheet(active);
}

xl::CellStore decodeCells(const std::string& bytes, xl::StyleTable& styles) {
  In in(bytes);
  in.text();
  in.get<uint32_t>();
  in.text();
  xl::CellStore cells;
  readBody(in, styles, cells);
  return cells;
}

}  // namespace zelhost
