#include "office/excel/MemoryChart.h"

#include <cmath>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "office/Errors.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryCharacters.h"
#include "office/excel/MemoryRange.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"

namespace office::excel {

using automation::Variant;

namespace {

std::string text(bool value) { return value ? "True" : "False"; }
std::string text(int32_t value) { return std::to_string(value); }
std::string text(double value) { return automation::CStr(Variant(value)); }

// Excel's size of a chart moved in from its sheet, in points, and where it puts it: the middle
// of the window's first screen, taken here as a window of 768 by 384 points at cell A1.
constexpr double kEmbeddedWidth = 360.0;
constexpr double kEmbeddedHeight = 216.0;
constexpr double kWindowWidth = 768.0;
constexpr double kWindowHeight = 384.0;

}  // namespace

uint32_t paletteColor(int32_t colorIndex) {
  static constexpr uint32_t kPalette[56] = {
      0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
      0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
      0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
      0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
      0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
      0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
  if (colorIndex < 1 || colorIndex > 56) throw applicationDefinedError();
  return kPalette[colorIndex - 1];
}

// --- parts ---------------------------------------------------------------------------------------

std::shared_ptr<MemoryChart> ChartPart::chart() const {
  auto chart = chart_.lock();
  if (!chart) throw automation::Error(static_cast<int32_t>(0x800401A8u), "Automation error", kExcelSource);
  return chart;
}

void ChartPart::record(const std::string& call) const { chart()->record(call); }

namespace {
void checkColorIndex(int32_t index, const char* property, const char* className) {
  if (index != xlColorIndexAutomatic && index != -4142 && (index < 1 || index > 56))
    throw unableToSet(property, className);
}
}  // namespace

void MemoryBorder::setColorIndex(int32_t index) {
  checkColorIndex(index, "ColorIndex", "Border");
  line_->colorIndex = index;
  record("Selection.Border.ColorIndex = " + text(index));
}
void MemoryBorder::setWeight(int32_t weight) {
  if (weight != xlHairline && weight != xlThin && weight != xlMedium && weight != xlThick)
    throw unableToSet("Weight", "Border");
  line_->weight = weight;
  record("Selection.Border.Weight = " + text(weight));
}
void MemoryBorder::setLineStyle(int32_t style) {
  line_->lineStyle = style;
  record("Selection.Border.LineStyle = " + text(style));
}

void MemoryInterior::setColorIndex(int32_t index) {
  checkColorIndex(index, "ColorIndex", "Interior");
  fill_->colorIndex = index;
  record("Selection.Interior.ColorIndex = " + text(index));
}
void MemoryInterior::setPatternColorIndex(int32_t index) {
  checkColorIndex(index, "PatternColorIndex", "Interior");
  fill_->patternColorIndex = index;
  record("Selection.Interior.PatternColorIndex = " + text(index));
}
void MemoryInterior::setPattern(int32_t pattern) {
  fill_->pattern = pattern;
  record("Selection.Interior.Pattern = " + text(pattern));
}

// --- titles --------------------------------------------------------------------------------------

int32_t MemoryTitleCharacters::Count() const {
  const int32_t total = characterCount(text_->text);
  const int32_t first = std::min(start_, total + 1);
  const int32_t available = total - first + 1;
  return length_ ? std::min(*length_, available) : available;
}

std::string MemoryTitleCharacters::Text() const {
  const size_t from = byteOffset(text_->text, start_ - 1);
  const size_t to = byteOffset(text_->text, start_ - 1 + Count());
  return text_->text.substr(from, to - from);
}

void MemoryTitleCharacters::setText(const std::string& replacement) {
  const size_t from = byteOffset(text_->text, start_ - 1);
  const size_t to = byteOffset(text_->text, start_ - 1 + Count());
  text_->text = text_->text.substr(0, from) + replacement + text_->text.substr(to);
  // New text takes the title's own font.
  text_->fonts.assign(static_cast<size_t>(characterCount(text_->text)), std::nullopt);
  record(owner_ + ".Characters.Text = \"" + replacement + "\"");
}

template <class F>
void MemoryTitleCharacters::forEachFont(F change) {
  text_->fonts.resize(static_cast<size_t>(characterCount(text_->text)));
  for (int32_t i = start_; i < start_ + Count(); ++i) {
    auto& font = text_->fonts[static_cast<size_t>(i - 1)];
    if (!font) font = FontSpec{"Arial", 10.0, true, false};
    change(*font);
  }
}

void MemoryTitleCharacters::setFontName(const std::string& name) {
  forEachFont([&](FontSpec& font) { font.name = name; });
  record(owner_ + ".Characters(" + text(start_) + ", " + text(length_.value_or(-1)) + ").Font.Name = \"" + name + "\"");
}

void MemoryTitleCharacters::setFontStyle(const std::string& style) {
  const bool bold = style.find("Bold") != std::string::npos;
  const bool italic = style.find("Italic") != std::string::npos;
  if (!bold && !italic && style != "Regular") throw unableToSet("FontStyle", "Font");
  forEachFont([&](FontSpec& font) {
    font.bold = bold;
    font.italic = italic;
  });
  record(owner_ + ".Characters(" + text(start_) + ", " + text(length_.value_or(-1)) + ").Font.FontStyle = \"" + style +
         "\"");
}

automation::Variant MemoryTitleCharacters::fontName() const {
  const size_t at = static_cast<size_t>(start_ - 1);
  if (at < text_->fonts.size() && text_->fonts[at]) return Variant(text_->fonts[at]->name);
  return Variant("Arial");
}

automation::Variant MemoryTitleCharacters::fontStyle() const {
  const size_t at = static_cast<size_t>(start_ - 1);
  const FontSpec font = at < text_->fonts.size() && text_->fonts[at] ? *text_->fonts[at] : FontSpec{"Arial", 10, true};
  if (font.bold && font.italic) return Variant("Bold Italic");
  return Variant(font.bold ? "Bold" : font.italic ? "Italic" : "Regular");
}

namespace {
// The Font of a title's characters: only what the system sets.
class TitleFont final : public automation::Object {
 public:
  explicit TitleFont(std::shared_ptr<MemoryTitleCharacters> characters) : characters_(std::move(characters)) {}
  Variant Name() const { return characters_->fontName(); }
  void setName(const std::string& name) { characters_->setFontName(name); }
  Variant FontStyle() const { return characters_->fontStyle(); }
  void setFontStyle(const std::string& style) { characters_->setFontStyle(style); }
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::shared_ptr<MemoryTitleCharacters> characters_;
};
const automation::TypeInfo& TitleFont::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<TitleFont>("Font")
                                               .interface("{0002084D-0000-0000-C000-000000000046}", "Font")
                                               .get("Name", 1, &TitleFont::Name)
                                               .put("Name", 1, &TitleFont::setName)
                                               .get("FontStyle", 2, &TitleFont::FontStyle)
                                               .put("FontStyle", 2, &TitleFont::setFontStyle)
                                               .build();
  return info;
}
}  // namespace

automation::ObjectPtr MemoryTitleCharacters::Font() {
  return std::make_shared<TitleFont>(std::static_pointer_cast<MemoryTitleCharacters>(shared_from_this()));
}

automation::ObjectPtr MemoryTitle::Characters(const Variant& start, const Variant& length) {
  const int32_t first = start.isEmpty() ? 1 : automation::CLng(start);
  const std::optional<int32_t> count = length.isEmpty() ? std::nullopt : std::optional<int32_t>(automation::CLng(length));
  if (first < 1 || (count && *count < 0)) throw unableToGet("Characters", owner_.substr(owner_.rfind('.') + 1));
  return std::make_shared<MemoryTitleCharacters>(chart(), owner_, text_, first, count);
}

void MemoryTitle::setText(const std::string& value) {
  text_->text = value;
  text_->fonts.assign(static_cast<size_t>(characterCount(value)), std::nullopt);
  record(owner_ + ".Text = \"" + value + "\"");
}

// --- elements ------------------------------------------------------------------------------------

void MemoryChartElement::Select() {
  auto owner = chart();
  auto app = owner->app();
  if (!app) throw methodFailed("Select", typeName());
  app->selectObject(shared_from_this());
  record(path_ + ".Select");
}

automation::ObjectPtr MemoryChartElement::Border() { return std::make_shared<MemoryBorder>(chart(), line_); }

automation::ObjectPtr MemoryPlotArea::Interior() { return std::make_shared<MemoryInterior>(chart(), fill_); }

// --- axes ----------------------------------------------------------------------------------------

MemoryAxis::MemoryAxis(std::weak_ptr<MemoryChart> chart, int32_t type) : ChartPart(chart), type_(type) {
  gridlines_ = std::make_shared<MemoryGridlines>(chart, name() + ".MajorGridlines");
  // Excel draws major gridlines on the value axis of a new chart, none on the x axis.
  hasMajorGridlines_ = type == xlValue;
}

std::string MemoryAxis::name() const { return "Axes(" + text(type_) + ", 1)"; }

void MemoryAxis::setHasTitle(bool has) {
  hasTitle_ = has;
  record(name() + ".HasTitle = " + text(has));
}

automation::ObjectPtr MemoryAxis::AxisTitle() {
  if (!hasTitle_) throw unableToGet("AxisTitle", "Axis");
  return std::make_shared<MemoryTitle>(chart(), name() + ".AxisTitle", title_);
}

void MemoryAxis::setHasMajorGridlines(bool has) {
  hasMajorGridlines_ = has;
  record(name() + ".HasMajorGridlines = " + text(has));
}
void MemoryAxis::setHasMinorGridlines(bool has) {
  hasMinorGridlines_ = has;
  record(name() + ".HasMinorGridlines = " + text(has));
}

automation::ObjectPtr MemoryAxis::MajorGridlines() {
  if (!hasMajorGridlines_) throw unableToGet("MajorGridlines", "Axis");
  return gridlines_;
}

std::pair<double, double> MemoryAxis::automaticScale() const {
  auto owner = chart();
  auto sheet = owner->sourceSheet();
  double low = INFINITY, high = -INFINITY;
  int32_t points = 0;
  for (const auto& series : owner->series()) {
    const std::optional<Area> area = type_ == xlCategory ? series->xValues() : std::optional<Area>(series->values());
    if (!area) {
      points = std::max(points, series->values().rows());
      continue;
    }
    for (int32_t r = area->row1; r <= area->row2; ++r) {
      const Variant v = sheet ? sheet->value(r, area->column1) : Variant();
      if (v.varType() != automation::vbDouble) continue;
      low = std::min(low, v.asDouble());
      high = std::max(high, v.asDouble());
    }
  }
  if (points > 0) {  // x values 1, 2, 3, ... of series without their own
    low = std::min(low, 1.0);
    high = std::max(high, static_cast<double>(points));
  }
  if (!(low <= high)) return {0.0, 1.0};
  if (scaleType_ == xlScaleLogarithmic && low > 0)
    return {std::pow(10.0, std::floor(std::log10(low))), std::pow(10.0, std::ceil(std::log10(high)))};
  // Excel starts a linear axis at zero unless the data keep well clear of it.
  if (low > 0 && (high - low) / high > 1.0 / 6) low = 0;
  if (high < 0 && (high - low) / -low > 1.0 / 6) high = 0;
  const double span = high > low ? high - low : std::max(std::fabs(high), 1.0);
  const double magnitude = std::pow(10.0, std::floor(std::log10(span / 5)));
  double unit = magnitude;
  for (const double step : {1.0, 2.0, 5.0, 10.0})
    if (span / (step * magnitude) <= 10) {
      unit = step * magnitude;
      break;
    }
  double top = std::ceil(high / unit) * unit;
  if (top == high && high != 0) top += unit;
  return {std::floor(low / unit) * unit, top};
}

double MemoryAxis::MinimumScale() const { return minimum_ ? *minimum_ : automaticScale().first; }
double MemoryAxis::MaximumScale() const { return maximum_ ? *maximum_ : automaticScale().second; }

// Excel refuses limits that cross each other, and limits at or below zero on a logarithmic axis.
void MemoryAxis::setMinimumScale(double value) {
  if ((maximum_ && value >= *maximum_) || (scaleType_ == xlScaleLogarithmic && value <= 0))
    throw unableToSet("MinimumScale", "Axis");
  minimum_ = value;
  record(name() + ".MinimumScale = " + text(value));
}
void MemoryAxis::setMaximumScale(double value) {
  if ((minimum_ && value <= *minimum_) || (scaleType_ == xlScaleLogarithmic && value <= 0))
    throw unableToSet("MaximumScale", "Axis");
  maximum_ = value;
  record(name() + ".MaximumScale = " + text(value));
}
void MemoryAxis::setMinimumScaleIsAuto(bool is) {
  if (is) minimum_.reset();
  else minimum_ = MinimumScale();
  record(name() + ".MinimumScaleIsAuto = " + text(is));
}
void MemoryAxis::setMaximumScaleIsAuto(bool is) {
  if (is) maximum_.reset();
  else maximum_ = MaximumScale();
  record(name() + ".MaximumScaleIsAuto = " + text(is));
}
void MemoryAxis::setMinorUnitIsAuto(bool is) {
  minorUnitIsAuto_ = is;
  record(name() + ".MinorUnitIsAuto = " + text(is));
}
void MemoryAxis::setMajorUnitIsAuto(bool is) {
  majorUnitIsAuto_ = is;
  record(name() + ".MajorUnitIsAuto = " + text(is));
}
void MemoryAxis::setCrosses(int32_t crosses) {
  crosses_ = crosses;
  if (crosses != xlAxisCrossesCustom) crossesAt_.reset();
  record(name() + ".Crosses = " + text(crosses));
}
double MemoryAxis::CrossesAt() const { return crossesAt_ ? *crossesAt_ : 0.0; }
void MemoryAxis::setCrossesAt(double value) {
  // Giving a crossing point makes the crossing custom, as in Excel.
  crosses_ = xlAxisCrossesCustom;
  crossesAt_ = value;
  record(name() + ".CrossesAt = " + text(value));
}
void MemoryAxis::setReversePlotOrder(bool reverse) {
  reversePlotOrder_ = reverse;
  record(name() + ".ReversePlotOrder = " + text(reverse));
}
void MemoryAxis::setScaleType(int32_t type) {
  if (type != xlScaleLinear && type != xlScaleLogarithmic) throw unableToSet("ScaleType", "Axis");
  if (type == xlScaleLogarithmic && ((minimum_ && *minimum_ <= 0) || (maximum_ && *maximum_ <= 0)))
    throw unableToSet("ScaleType", "Axis");
  scaleType_ = type;
  record(name() + ".ScaleType = " + text(type));
}

// --- the chart -----------------------------------------------------------------------------------

MemoryChart::MemoryChart(std::weak_ptr<MemoryWorkbook> workbook, std::string name)
    : MemorySheet(std::move(workbook), std::move(name)) {}

std::shared_ptr<MemoryChart> MemoryChart::self() { return std::static_pointer_cast<MemoryChart>(shared_from_this()); }

void MemoryChart::makeParts() {
  if (category_) return;
  category_ = std::make_shared<MemoryAxis>(self(), xlCategory);
  value_ = std::make_shared<MemoryAxis>(self(), xlValue);
  plotArea_ = std::make_shared<MemoryPlotArea>(self(), "PlotArea");
}

std::shared_ptr<MemoryApplication> MemoryChart::app() const {
  auto book = workbook();
  return book ? book->application() : nullptr;
}

void MemoryChart::record(const std::string& call) const {
  if (auto a = app()) a->recordChartCall(call);
}

std::string MemoryChart::Name() const {
  liveWorkbook();
  if (auto host = hostSheet()) return host->Name() + " Chart 1";
  return sheetName();
}

void MemoryChart::setChartType(int32_t type) {
  liveWorkbook();
  chartType_ = type;
  record("ChartType = " + text(type));
}

void MemoryChart::SetSourceData(const automation::ObjectPtr& source, const Variant& plotBy) {
  auto range = std::dynamic_pointer_cast<MemoryRange>(source);
  if (!range) throw methodFailed("SetSourceData", "_Chart");
  if (!plotBy.isEmpty() && automation::CLng(plotBy) != xlColumns) throw methodFailed("SetSourceData", "_Chart");
  makeParts();
  const Area& area = range->area();
  series_.clear();
  source_ = range->sheet();
  const auto column = [&](int32_t c) { return Area{area.row1, c, area.row2, c}; };
  // One column alone is plotted against 1, 2, 3, ...
  if (area.columns() == 1) {
    series_.push_back(std::make_shared<MemorySeries>(self(), "SeriesCollection(1)", std::nullopt, column(area.column1)));
  } else {
    for (int32_t c = area.column1 + 1; c <= area.column2; ++c)
      series_.push_back(std::make_shared<MemorySeries>(
          self(), "SeriesCollection(" + text(static_cast<int32_t>(series_.size() + 1)) + ")", column(area.column1),
          column(c)));
  }
  record("SetSourceData(" + formatAddress(area, AddressStyle{false, false}) + ", " + text(automation::CLng(plotBy)) +
         ")");
}

void MemoryChart::setHasTitle(bool has) {
  hasTitle_ = has;
  record("HasTitle = " + text(has));
}

automation::ObjectPtr MemoryChart::ChartTitle() {
  if (!hasTitle_) throw unableToGet("ChartTitle", "_Chart");
  return std::make_shared<MemoryTitle>(self(), "ChartTitle", title_);
}

void MemoryChart::setHasLegend(bool has) {
  hasLegend_ = has;
  record("HasLegend = " + text(has));
}

automation::ObjectPtr MemoryChart::Axes(const Variant& type, const Variant& group) {
  makeParts();
  const int32_t t = automation::CLng(type);
  if ((t != xlCategory && t != xlValue) || (!group.isEmpty() && automation::CLng(group) != xlPrimary))
    throw methodFailed("Axes", "_Chart");
  return t == xlCategory ? category_ : value_;
}

automation::ObjectPtr MemoryChart::PlotArea() {
  makeParts();
  return plotArea_;
}

automation::ObjectPtr MemoryChart::SeriesCollection(const Variant& index) {
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > static_cast<int32_t>(series_.size())) throw excelError("Invalid Parameter");
  return series_[static_cast<size_t>(i - 1)];
}

automation::ObjectPtr MemoryChart::Location(int32_t where, const Variant& name) {
  auto book = liveWorkbook();
  if (where != xlLocationAsObject || hostSheet()) throw methodFailed("Location", "_Chart");
  auto target = book->worksheet(automation::CStr(name));
  if (!target) throw methodFailed("Location", "_Chart");
  record("Location(" + text(where) + ", \"" + automation::CStr(name) + "\")");

  // The chart sheet goes; the chart comes back as the sheet's next chart frame, selected and
  // active, with its sheet active.
  book->removeSheet(this);
  auto shapes = std::dynamic_pointer_cast<MemoryShapes>(target->Shapes());
  auto frame = std::make_shared<MemoryShape>(shapes->nextName("Chart"), msoChart, (kWindowWidth - kEmbeddedWidth) / 2,
                                             (kWindowHeight - kEmbeddedHeight) / 2, kEmbeddedWidth, kEmbeddedHeight);
  frame->setChart(self());
  shapes->add(frame);
  host_ = target;
  book->activateSheet(target);
  if (auto a = app()) a->activateChart(self());
  return self();
}

// --- collections ---------------------------------------------------------------------------------

automation::ObjectPtr MemoryCharts::Add() {
  workbook_->requireOpen();
  const auto active = workbook_->activeSheet();
  const size_t position = active ? static_cast<size_t>(workbook_->indexOf(active.get()) - 1) : 0;
  auto chart = std::make_shared<MemoryChart>(workbook_, workbook_->nextChartName());
  workbook_->insertSheet(position, chart);
  if (auto app = workbook_->application()) app->recordChartCall("Charts.Add");
  return chart;
}

int32_t MemoryCharts::Count() const {
  int32_t n = 0;
  for (const auto& sheet : workbook_->sheets()) n += std::dynamic_pointer_cast<MemoryChart>(sheet) != nullptr;
  return n;
}

std::string MemoryChartObject::Name() const { return shape_->Name(); }

void MemoryChartObject::Activate() {
  if (!sheet_->isActive()) throw methodFailed("Activate", "ChartObject");
  auto app = sheet_->book()->application();
  app->activateChart(shape_->chart());
  app->recordChartCall("ChartObjects(\"" + shape_->Name() + "\").Activate");
}

automation::ObjectPtr MemoryChartObject::Chart() const { return shape_->chart(); }

automation::ObjectPtr chartObjects(const std::shared_ptr<MemoryWorksheet>& sheet, const Variant& index) {
  std::vector<std::shared_ptr<MemoryShape>> frames;
  for (const auto& shape : sheet->shapes())
    if (shape->chart()) frames.push_back(shape);
  if (index.isString()) {
    for (const auto& frame : frames)
      if (automation::equalsNoCase(frame->Name(), index.asString())) return std::make_shared<MemoryChartObject>(sheet, frame);
    throw unableToGet("ChartObjects", "Worksheet");
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > static_cast<int32_t>(frames.size())) throw unableToGet("ChartObjects", "Worksheet");
  return std::make_shared<MemoryChartObject>(sheet, frames[static_cast<size_t>(i - 1)]);
}

}  // namespace office::excel
