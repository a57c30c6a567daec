#pragma once
// Excel's charts as the system drives them: a chart (a chart sheet, or embedded in a worksheet
// through its chart object), its axes, titles, series and plot area, and the Border and
// Interior of whatever chart element is selected. Most of it is called late-bound, by name, so
// the members live in the type information of the in-memory classes (MemoryChart.h).
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

// XlChartType values the system uses.
enum XlChartType : int32_t { xlXYScatterLinesNoMarkers = 75 };
enum XlAxisType : int32_t { xlCategory = 1, xlValue = 2 };
enum XlAxisGroup : int32_t { xlPrimary = 1 };
enum XlRowCol : int32_t { xlRows = 1, xlColumns = 2 };
enum XlChartLocation : int32_t { xlLocationAsNewSheet = 1, xlLocationAsObject = 2 };
enum XlAxisCrosses : int32_t { xlAxisCrossesAutomatic = -4105, xlAxisCrossesCustom = -4114 };
enum XlScaleType : int32_t { xlScaleLinear = -4132, xlScaleLogarithmic = -4133 };
enum XlBorderWeight : int32_t { xlHairline = 1, xlThin = 2, xlMedium = -4138, xlThick = 4 };
enum XlLineStyle : int32_t { xlContinuous = 1, xlLineStyleNone = -4142 };
enum XlPattern : int32_t { xlPatternSolid = 1 };
inline constexpr int32_t xlColorIndexAutomatic = -4105;

class Chart : public automation::Object {
 public:
  virtual std::string Name() const = 0;
  virtual int32_t ChartType() const = 0;
  virtual void setChartType(int32_t type) = 0;
  // SetSourceData(Source, PlotBy): by columns, the first column gives the x values and each
  // further column one series.
  virtual void SetSourceData(const automation::ObjectPtr& source, const automation::Variant& plotBy) = 0;
  virtual bool HasTitle() const = 0;
  virtual void setHasTitle(bool has) = 0;
  virtual automation::ObjectPtr ChartTitle() = 0;
  virtual bool HasLegend() const = 0;
  virtual void setHasLegend(bool has) = 0;
  virtual automation::ObjectPtr Axes(const automation::Variant& type, const automation::Variant& group) = 0;
  virtual automation::ObjectPtr PlotArea() = 0;
  // SeriesCollection() is the collection; SeriesCollection(i) its i-th series.
  virtual automation::ObjectPtr SeriesCollection(const automation::Variant& index) = 0;
  // Location(Where, Name): xlLocationAsObject moves the chart into the worksheet Name.
  virtual automation::ObjectPtr Location(int32_t where, const automation::Variant& name) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
