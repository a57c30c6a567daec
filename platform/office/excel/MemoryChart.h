#pragma once
// The in-memory chart: a chart sheet until Location moves it into a worksheet, where its frame
// is the shape "Chart n" and its chart object of the same name. Every property the system sets
// is kept, for the saver and for tests, and every change is written to the application's
// record of chart calls.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "office/excel/A1Reference.h"
#include "office/excel/Chart.h"
#include "office/excel/MemorySheet.h"
#include "office/excel/StyleTable.h"

namespace office::excel {

class MemoryApplication;
class MemoryChart;
class MemoryWorksheet;
class MemoryShape;

// A line as Excel's Border of a chart element describes it.
struct LineFormat {
  int32_t colorIndex = xlColorIndexAutomatic;
  int32_t weight = xlHairline;
  int32_t lineStyle = xlContinuous;
};
// A fill as Excel's Interior describes it.
struct FillFormat {
  int32_t colorIndex = xlColorIndexAutomatic;
  int32_t patternColorIndex = xlColorIndexAutomatic;
  int32_t pattern = xlPatternSolid;
};
// The text of a chart or axis title with a font per character (unset: the title's own font).
struct ChartText {
  std::string text;
  std::vector<std::optional<FontSpec>> fonts;  // one per character
};

// The RGB colour of an entry of Excel's default 56-colour palette (1-based).
uint32_t paletteColor(int32_t colorIndex);

// What the chart elements share: the chart they belong to, and the record of calls.
class ChartPart {
 public:
  explicit ChartPart(std::weak_ptr<MemoryChart> chart) : chart_(std::move(chart)) {}
  std::shared_ptr<MemoryChart> chart() const;
  void record(const std::string& call) const;

 private:
  std::weak_ptr<MemoryChart> chart_;
};

class MemoryBorder final : public automation::Object, ChartPart {
 public:
  MemoryBorder(std::weak_ptr<MemoryChart> chart, std::shared_ptr<LineFormat> line)
      : ChartPart(std::move(chart)), line_(std::move(line)) {}
  int32_t ColorIndex() const { return line_->colorIndex; }
  void setColorIndex(int32_t index);
  int32_t Weight() const { return line_->weight; }
  void setWeight(int32_t weight);
  int32_t LineStyle() const { return line_->lineStyle; }
  void setLineStyle(int32_t style);
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::shared_ptr<LineFormat> line_;
};

class MemoryInterior final : public automation::Object, ChartPart {
 public:
  MemoryInterior(std::weak_ptr<MemoryChart> chart, std::shared_ptr<FillFormat> fill)
      : ChartPart(std::move(chart)), fill_(std::move(fill)) {}
  int32_t ColorIndex() const { return fill_->colorIndex; }
  void setColorIndex(int32_t index);
  int32_t PatternColorIndex() const { return fill_->patternColorIndex; }
  void setPatternColorIndex(int32_t index);
  int32_t Pattern() const { return fill_->pattern; }
  void setPattern(int32_t pattern);
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::shared_ptr<FillFormat> fill_;
};

// Characters of a chart or axis title, and their font.
class MemoryTitleCharacters final : public automation::Object, ChartPart {
 public:
  MemoryTitleCharacters(std::weak_ptr<MemoryChart> chart, std::string owner, std::shared_ptr<ChartText> text,
                        int32_t start, std::optional<int32_t> length)
      : ChartPart(std::move(chart)), owner_(std::move(owner)), text_(std::move(text)), start_(start), length_(length) {}
  std::string Text() const;
  void setText(const std::string& text);
  int32_t Count() const;
  automation::ObjectPtr Font();
  const automation::TypeInfo& typeInfo() const override;

  // The font of these characters: Name and FontStyle ("Regular", "Bold", "Italic").
  void setFontName(const std::string& name);
  void setFontStyle(const std::string& style);
  automation::Variant fontName() const;
  automation::Variant fontStyle() const;

 private:
  template <class F>
  void forEachFont(F change);
  std::string owner_;
  std::shared_ptr<ChartText> text_;
  int32_t start_;
  std::optional<int32_t> length_;
};

// ChartTitle and AxisTitle.
class MemoryTitle : public automation::Object, public ChartPart {
 public:
  MemoryTitle(std::weak_ptr<MemoryChart> chart, std::string owner, std::shared_ptr<ChartText> text)
      : ChartPart(std::move(chart)), owner_(std::move(owner)), text_(std::move(text)) {}
  automation::ObjectPtr Characters(const automation::Variant& start, const automation::Variant& length);
  std::string Text() const { return text_->text; }
  void setText(const std::string& text);
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::string owner_;
  std::shared_ptr<ChartText> text_;
};

// A selectable element with a border: a series, gridlines, the plot area.
class MemoryChartElement : public automation::Object, public ChartPart {
 public:
  MemoryChartElement(std::weak_ptr<MemoryChart> chart, std::string path)
      : ChartPart(std::move(chart)), path_(std::move(path)) {}
  void Select();
  automation::ObjectPtr Border();
  const std::shared_ptr<LineFormat>& line() const { return line_; }
  const std::string& path() const { return path_; }

 protected:
  std::string path_;
  std::shared_ptr<LineFormat> line_ = std::make_shared<LineFormat>();
};

class MemoryGridlines final : public MemoryChartElement {
 public:
  using MemoryChartElement::MemoryChartElement;
  const automation::TypeInfo& typeInfo() const override;
};

class MemoryPlotArea final : public MemoryChartElement {
 public:
  using MemoryChartElement::MemoryChartElement;
  automation::ObjectPtr Interior();
  const std::shared_ptr<FillFormat>& fill() const { return fill_; }
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::shared_ptr<FillFormat> fill_ = std::make_shared<FillFormat>();
};

// A series: its x values (none: 1, 2, 3, ...) and y values as areas of the source sheet.
class MemorySeries final : public MemoryChartElement {
 public:
  MemorySeries(std::weak_ptr<MemoryChart> chart, std::string path, std::optional<Area> xValues, Area values)
      : MemoryChartElement(std::move(chart), std::move(path)), xValues_(xValues), values_(values) {}
  const std::optional<Area>& xValues() const { return xValues_; }
  const Area& values() const { return values_; }
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::optional<Area> xValues_;
  Area values_;
};

class MemoryAxis final : public automation::Object, public ChartPart {
 public:
  MemoryAxis(std::weak_ptr<MemoryChart> chart, int32_t type);

  bool HasTitle() const { return hasTitle_; }
  void setHasTitle(bool has);
  automation::ObjectPtr AxisTitle();
  bool HasMajorGridlines() const { return hasMajorGridlines_; }
  void setHasMajorGridlines(bool has);
  bool HasMinorGridlines() const { return hasMinorGridlines_; }
  void setHasMinorGridlines(bool has);
  automation::ObjectPtr MajorGridlines();
  // Reading a limit that is automatic gives the one the host chose from the data.
  double MinimumScale() const;
  void setMinimumScale(double value);
  double MaximumScale() const;
  void setMaximumScale(double value);
  bool MinimumScaleIsAuto() const { return !minimum_; }
  void setMinimumScaleIsAuto(bool is);
  bool MaximumScaleIsAuto() const { return !maximum_; }
  void setMaximumScaleIsAuto(bool is);
  bool MinorUnitIsAuto() const { return minorUnitIsAuto_; }
  void setMinorUnitIsAuto(bool is);
  bool MajorUnitIsAuto() const { return majorUnitIsAuto_; }
  void setMajorUnitIsAuto(bool is);
  int32_t Crosses() const { return crosses_; }
  void setCrosses(int32_t crosses);
  double CrossesAt() const;
  void setCrossesAt(double value);
  bool ReversePlotOrder() const { return reversePlotOrder_; }
  void setReversePlotOrder(bool reverse);
  int32_t ScaleType() const { return scaleType_; }
  void setScaleType(int32_t type);
  const automation::TypeInfo& typeInfo() const override;

  // --- for the saver ---
  int32_t type() const { return type_; }
  const std::shared_ptr<ChartText>& title() const { return title_; }
  const std::optional<double>& minimum() const { return minimum_; }
  const std::optional<double>& maximum() const { return maximum_; }
  std::optional<double> crossesAt() const { return crossesAt_; }
  const std::shared_ptr<MemoryGridlines>& majorGridlines() const { return gridlines_; }

 private:
  std::string name() const;
  // The limits Excel chooses for the data: round steps of 1, 2 or 5 times a power of ten on a
  // linear axis, whole powers of ten on a logarithmic one.
  std::pair<double, double> automaticScale() const;

  int32_t type_;
  bool hasTitle_ = false;
  std::shared_ptr<ChartText> title_ = std::make_shared<ChartText>();
  bool hasMajorGridlines_ = false;
  bool hasMinorGridlines_ = false;
  std::shared_ptr<MemoryGridlines> gridlines_;
  std::optional<double> minimum_, maximum_;
  bool minorUnitIsAuto_ = true, majorUnitIsAuto_ = true;
  int32_t crosses_ = xlAxisCrossesAutomatic;
  std::optional<double> crossesAt_;
  bool reversePlotOrder_ = false;
  int32_t scaleType_ = xlScaleLinear;
};

class MemoryChart final : public Chart, public MemorySheet {
 public:
  MemoryChart(std::weak_ptr<MemoryWorkbook> workbook, std::string name);

  std::string Name() const override;
  int32_t ChartType() const override { return chartType_; }
  void setChartType(int32_t type) override;
  void SetSourceData(const automation::ObjectPtr& source, const automation::Variant& plotBy) override;
  bool HasTitle() const override { return hasTitle_; }
  void setHasTitle(bool has) override;
  automation::ObjectPtr ChartTitle() override;
  bool HasLegend() const override { return hasLegend_; }
  void setHasLegend(bool has) override;
  automation::ObjectPtr Axes(const automation::Variant& type, const automation::Variant& group) override;
  automation::ObjectPtr PlotArea() override;
  automation::ObjectPtr SeriesCollection(const automation::Variant& index) override;
  automation::ObjectPtr Location(int32_t where, const automation::Variant& name) override;

  automation::ObjectPtr sheetObject() override { return shared_from_this(); }

  // --- for the saver and tests ---
  // The worksheet the chart is embedded in; none while it is a chart sheet.
  std::shared_ptr<MemoryWorksheet> hostSheet() const { return host_.lock(); }
  // The worksheet the source data lie on.
  std::shared_ptr<MemoryWorksheet> sourceSheet() const { return source_.lock(); }
  const std::vector<std::shared_ptr<MemorySeries>>& series() const { return series_; }
  const std::shared_ptr<ChartText>& title() const { return title_; }
  MemoryAxis& axis(int32_t type) const { return type == xlCategory ? *category_ : *value_; }
  const std::shared_ptr<MemoryPlotArea>& plotArea() const { return plotArea_; }
  // The application that records the chart calls; none once the workbook is gone.
  std::shared_ptr<MemoryApplication> app() const;
  void record(const std::string& call) const;

 private:
  std::shared_ptr<MemoryChart> self();
  void makeParts();

  int32_t chartType_ = 51;  // xlColumnClustered, Excel's default
  bool hasTitle_ = false;
  bool hasLegend_ = true;
  std::shared_ptr<ChartText> title_ = std::make_shared<ChartText>();
  std::shared_ptr<MemoryAxis> category_, value_;
  std::shared_ptr<MemoryPlotArea> plotArea_;
  std::vector<std::shared_ptr<MemorySeries>> series_;
  std::weak_ptr<MemoryWorksheet> source_;
  std::weak_ptr<MemoryWorksheet> host_;
};

// Application.Charts: the chart sheets of the active workbook.
class MemoryCharts final : public automation::Object {
 public:
  explicit MemoryCharts(std::shared_ptr<MemoryWorkbook> workbook) : workbook_(std::move(workbook)) {}
  // Add([Before], [After], [Count]): a new chart sheet before the active sheet, made active.
  automation::ObjectPtr Add();
  int32_t Count() const;
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::shared_ptr<MemoryWorkbook> workbook_;
};

// The chart object of an embedded chart: the frame shape seen as a chart container.
class MemoryChartObject final : public automation::Object {
 public:
  MemoryChartObject(std::shared_ptr<MemoryWorksheet> sheet, std::shared_ptr<MemoryShape> shape)
      : sheet_(std::move(sheet)), shape_(std::move(shape)) {}
  std::string Name() const;
  // Makes the chart the active chart; 1004 when its sheet is not the active one.
  void Activate();
  automation::ObjectPtr Chart() const;
  const automation::TypeInfo& typeInfo() const override;

 private:
  std::shared_ptr<MemoryWorksheet> sheet_;
  std::shared_ptr<MemoryShape> shape_;
};

// Worksheet.ChartObjects(Index): by 1-based number or name; the collection when Empty.
automation::ObjectPtr chartObjects(const std::shared_ptr<MemoryWorksheet>& sheet, const automation::Variant& index);

}  // namespace office::excel
