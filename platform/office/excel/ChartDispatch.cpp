// The late-bound members of Excel's chart objects.
#include "automation/TypeInfoBuilder.h"
#include "office/DispatchArgs.h"
#include "office/excel/MemoryChart.h"

namespace office::excel {

using automation::DispatchArgs;
using automation::TypeInfo;
using automation::TypeInfoBuilder;
using automation::Variant;


const TypeInfo& Chart::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Chart>("Chart")
          .interface("{000208D6-0000-0000-C000-000000000046}", "_Chart")
          .get("Name", 1, &Chart::Name)
          .get("ChartType", 2, &Chart::ChartType)
          .put("ChartType", 2, &Chart::setChartType)
          .method("SetSourceData", 3,
                  [](Chart& self, DispatchArgs& args) { self.SetSourceData(optionalArg(args, 0).asObject(), optionalArg(args, 1)); })
          .get("HasTitle", 4, &Chart::HasTitle)
          .put("HasTitle", 4, &Chart::setHasTitle)
          .get("ChartTitle", 5, &Chart::ChartTitle)
          .get("HasLegend", 6, &Chart::HasLegend)
          .put("HasLegend", 6, &Chart::setHasLegend)
          .method("Axes", 7, [](Chart& self, DispatchArgs& args) { return self.Axes(optionalArg(args, 0), optionalArg(args, 1)); })
          .get("PlotArea", 8, &Chart::PlotArea)
          .method("SeriesCollection", 9,
                  [](Chart& self, DispatchArgs& args) { return self.SeriesCollection(optionalArg(args, 0)); })
          .method("Location", 10,
                  [](Chart& self, DispatchArgs& args) {
                    return self.Location(automation::CLng(optionalArg(args, 0)), optionalArg(args, 1));
                  })
          .build();
  return info;
}

const TypeInfo& MemoryBorder::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryBorder>("Border")
                                   .interface("{00020854-0000-0000-C000-000000000046}", "Border")
                                   .get("ColorIndex", 1, &MemoryBorder::ColorIndex)
                                   .put("ColorIndex", 1, &MemoryBorder::setColorIndex)
                                   .get("Weight", 2, &MemoryBorder::Weight)
                                   .put("Weight", 2, &MemoryBorder::setWeight)
                                   .get("LineStyle", 3, &MemoryBorder::LineStyle)
                                   .put("LineStyle", 3, &MemoryBorder::setLineStyle)
                                   .build();
  return info;
}

const TypeInfo& MemoryInterior::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryInterior>("Interior")
                                   .interface("{00020870-0000-0000-C000-000000000046}", "Interior")
                                   .get("ColorIndex", 1, &MemoryInterior::ColorIndex)
                                   .put("ColorIndex", 1, &MemoryInterior::setColorIndex)
                                   .get("PatternColorIndex", 2, &MemoryInterior::PatternColorIndex)
                                   .put("PatternColorIndex", 2, &MemoryInterior::setPatternColorIndex)
                                   .get("Pattern", 3, &MemoryInterior::Pattern)
                                   .put("Pattern", 3, &MemoryInterior::setPattern)
                                   .build();
  return info;
}

const TypeInfo& MemoryTitleCharacters::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryTitleCharacters>("Characters")
                                   .interface("{00020878-0000-0000-C000-000000000046}", "Characters")
                                   .get("Text", 1, &MemoryTitleCharacters::Text)
                                   .put("Text", 1, &MemoryTitleCharacters::setText)
                                   .get("Count", 2, &MemoryTitleCharacters::Count)
                                   .get("Font", 3, &MemoryTitleCharacters::Font)
                                   .build();
  return info;
}

const TypeInfo& MemoryTitle::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<MemoryTitle>("ChartTitle")
          .interface("{00020849-0000-0000-C000-000000000046}", "ChartTitle")
          .get("Characters", 1,
               [](MemoryTitle& self, DispatchArgs& args) { return self.Characters(optionalArg(args, 0), optionalArg(args, 1)); })
          .get("Text", 2, &MemoryTitle::Text)
          .put("Text", 2, &MemoryTitle::setText)
          .build();
  return info;
}

const TypeInfo& MemoryGridlines::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryGridlines>("Gridlines")
                                   .interface("{000208C3-0000-0000-C000-000000000046}", "Gridlines")
                                   .method("Select", 1, &MemoryGridlines::Select)
                                   .get("Border", 2, &MemoryGridlines::Border)
                                   .build();
  return info;
}

const TypeInfo& MemoryPlotArea::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryPlotArea>("PlotArea")
                                   .interface("{000208CB-0000-0000-C000-000000000046}", "PlotArea")
                                   .method("Select", 1, &MemoryPlotArea::Select)
                                   .get("Border", 2, &MemoryPlotArea::Border)
                                   .get("Interior", 3, &MemoryPlotArea::Interior)
                                   .build();
  return info;
}

const TypeInfo& MemorySeries::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemorySeries>("Series")
                                   .interface("{0002086B-0000-0000-C000-000000000046}", "Series")
                                   .method("Select", 1, &MemorySeries::Select)
                                   .get("Border", 2, &MemorySeries::Border)
                                   .build();
  return info;
}

const TypeInfo& MemoryAxis::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryAxis>("Axis")
                                   .interface("{00020848-0000-0000-C000-000000000046}", "Axis")
                                   .get("HasTitle", 1, &MemoryAxis::HasTitle)
                                   .put("HasTitle", 1, &MemoryAxis::setHasTitle)
                                   .get("AxisTitle", 2, &MemoryAxis::AxisTitle)
                                   .get("HasMajorGridlines", 3, &MemoryAxis::HasMajorGridlines)
                                   .put("HasMajorGridlines", 3, &MemoryAxis::setHasMajorGridlines)
                                   .get("HasMinorGridlines", 4, &MemoryAxis::HasMinorGridlines)
                                   .put("HasMinorGridlines", 4, &MemoryAxis::setHasMinorGridlines)
                                   .get("MajorGridlines", 5, &MemoryAxis::MajorGridlines)
                                   .get("MinimumScale", 6, &MemoryAxis::MinimumScale)
                                   .put("MinimumScale", 6, &MemoryAxis::setMinimumScale)
                                   .get("MaximumScale", 7, &MemoryAxis::MaximumScale)
                                   .put("MaximumScale", 7, &MemoryAxis::setMaximumScale)
                                   .get("MinimumScaleIsAuto", 8, &MemoryAxis::MinimumScaleIsAuto)
                                   .put("MinimumScaleIsAuto", 8, &MemoryAxis::setMinimumScaleIsAuto)
                                   .get("MaximumScaleIsAuto", 9, &MemoryAxis::MaximumScaleIsAuto)
                                   .put("MaximumScaleIsAuto", 9, &MemoryAxis::setMaximumScaleIsAuto)
                                   .get("MinorUnitIsAuto", 10, &MemoryAxis::MinorUnitIsAuto)
                                   .put("MinorUnitIsAuto", 10, &MemoryAxis::setMinorUnitIsAuto)
                                   .get("MajorUnitIsAuto", 11, &MemoryAxis::MajorUnitIsAuto)
                                   .put("MajorUnitIsAuto", 11, &MemoryAxis::setMajorUnitIsAuto)
                                   .get("Crosses", 12, &MemoryAxis::Crosses)
                                   .put("Crosses", 12, &MemoryAxis::setCrosses)
                                   .get("CrossesAt", 13, &MemoryAxis::CrossesAt)
                                   .put("CrossesAt", 13, &MemoryAxis::setCrossesAt)
                                   .get("ReversePlotOrder", 14, &MemoryAxis::ReversePlotOrder)
                                   .put("ReversePlotOrder", 14, &MemoryAxis::setReversePlotOrder)
                                   .get("ScaleType", 15, &MemoryAxis::ScaleType)
                                   .put("ScaleType", 15, &MemoryAxis::setScaleType)
                                   .build();
  return info;
}

const TypeInfo& MemoryCharts::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryCharts>("Charts")
                                   .interface("{0002086D-0000-0000-C000-000000000046}", "Charts")
                                   .method("Add", 1, [](MemoryCharts& self, DispatchArgs&) { return self.Add(); })
                                   .get("Count", 2, &MemoryCharts::Count)
                                   .build();
  return info;
}

const TypeInfo& MemoryChartObject::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<MemoryChartObject>("ChartObject")
                                   .interface("{000208CF-0000-0000-C000-000000000046}", "ChartObject")
                                   .get("Name", 1, &MemoryChartObject::Name)
                                   .method("Activate", 2, &MemoryChartObject::Activate)
                                   .get("Chart", 3, &MemoryChartObject::Chart)
                                   .build();
  return info;
}

}  // namespace office::excel
