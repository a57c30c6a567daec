// The chart is built as the analyzer's own screen looks: a chart sheet first (where Excel lays
// it out at full size), formatted, then moved into the transfer's sheet. Its members are called
// by name, as the chart objects are only reached through the host's late-bound interface.
#include "transfer/ChartBuilder.h"

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "office/excel/Chart.h"
#include "office/excel/Range.h"
#include "transfer/DataTransfer.h"
#include "transfer/TransferNames.h"

namespace zel {

using automation::callMethod;
using automation::getProperty;
using automation::ObjectPtr;
using automation::setProperty;
using automation::Variant;
namespace xl = office::excel;

namespace {

// The colours of the analyzer's traces, by trace, and of its grid and background.
constexpr int32_t kTraceColors[] = {6, 28, 7};
constexpr int32_t kGridColor = 2;
constexpr int32_t kBackgroundColor = 1;

// Far left of any frequency axis: the value axis sits at the left edge of the plot.
constexpr double kFarLeft = -1000000000.0;

ObjectPtr object(const Variant& value) {
  ObjectPtr result = value.asObject();
  if (!result) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return result;
}

ObjectPtr axis(const ObjectPtr& chart, int32_t type) {
  return object(callMethod(chart, "Axes", {Variant(type), Variant(int32_t{xl::xlPrimary})}));
}

void setBorder(const ObjectPtr& app, int32_t colorIndex, int32_t weight) {
  const ObjectPtr border = object(getProperty(object(getProperty(app, "Selection")), "Border"));
  setProperty(border, "ColorIndex", Variant(colorIndex));
  setProperty(border, "Weight", Variant(weight));
  setProperty(border, "LineStyle", Variant(int32_t{xl::xlContinuous}));
}

}  // namespace

void buildChart(DataTransfer& transfer, int32_t headerRow, int32_t xColumn, int32_t lastColumn, bool trace1Shown,
                bool trace2Shown, bool trace3Shown, double startFrequency) {
  const ObjectPtr app = transfer.hostApp();
  const ObjectPtr sheet = transfer.dataSheet();
  if (!app || !sheet || !transfer.server()) throw automation::Error::vb(automation::vbErrObjectNotSet);

  const Variant screenUpdating = getProperty(app, "ScreenUpdating");
  setProperty(app, "ScreenUpdating", Variant(false));

  const int32_t n = transfer.pointCount();
  const auto cellAddress = [&](int32_t row, int32_t column) {
    return getProperty(object(getProperty(sheet, "Cells", {Variant(row), Variant(column)})), "Address",
                       {Variant(false), Variant(false)});
  };
  const Variant first = cellAddress(headerRow + 1, xColumn);
  const Variant last = cellAddress(headerRow + n, lastColumn);
  const ObjectPtr source = object(getProperty(sheet, "Range", {first, last}));

  const ObjectPtr chart = object(callMethod(object(getProperty(app, "Charts")), "Add"));
  setProperty(chart, "ChartType", Variant(int32_t{xl::xlXYScatterLinesNoMarkers}));
  callMethod(chart, "SetSourceData", {Variant(source), Variant(int32_t{xl::xlColumns})});

  setProperty(chart, "HasTitle", Variant(true));
  const std::string model = transfer.server()->Device()->Model();
  setProperty(object(getProperty(object(getProperty(chart, "ChartTitle")), "Characters")), "Text",
              Variant("ORV/ZEL Spectrum Analyzer (" + model + ")"));
  setProperty(chart, "HasLegend", Variant(false));

  const ObjectPtr xAxis = axis(chart, xl::xlCategory);
  setProperty(xAxis, "HasTitle", Variant(true));
  setProperty(object(getProperty(object(getProperty(xAxis, "AxisTitle")), "Characters")), "Text",
              Variant(transfer.isZeroSpan() ? "Time (s)" : "Frequency (Hz)"));
  setProperty(xAxis, "HasMajorGridlines", Variant(true));
  setProperty(xAxis, "HasMinorGridlines", Variant(false));
  setProperty(xAxis, "MinimumScaleIsAuto", Variant(true));
  setProperty(xAxis, "MaximumScaleIsAuto", Variant(true));
  setProperty(xAxis, "MinorUnitIsAuto", Variant(true));
  setProperty(xAxis, "MajorUnitIsAuto", Variant(true));
  if (startFrequency < 0) {
    setProperty(xAxis, "Crosses", Variant(int32_t{xl::xlAxisCrossesCustom}));
    setProperty(xAxis, "CrossesAt", Variant(kFarLeft));
  }
  setProperty(xAxis, "ReversePlotOrder", Variant(false));
  setProperty(xAxis, "scaleType", Variant(int32_t{xl::xlScaleLinear}));

  const ObjectPtr yAxis = axis(chart, xl::xlValue);
  setProperty(yAxis, "HasMajorGridlines", Variant(true));
  setProperty(yAxis, "HasMinorGridlines", Variant(false));
  if (transfer.amplitudeScale() == "LOG") {
    setProperty(yAxis, "MaximumScale", Variant(transfer.dataMax()));
    setProperty(yAxis, "MinimumScale", Variant(transfer.dataMin()));
    if (transfer.dataMax() > 0 && transfer.dataMin() > 0)
      setProperty(yAxis, "scaleType", Variant(int32_t{xl::xlScaleLogarithmic}));
  }

  const UnitLabel unit = unitLabel(transfer.server()->AmplitudeUnits());
  setProperty(yAxis, "HasTitle", Variant(true));
  const ObjectPtr yTitle = object(getProperty(yAxis, "AxisTitle"));
  setProperty(object(getProperty(yTitle, "Characters")), "Text", Variant(unit.label));
  if (unit.symbolPosition) {
    const ObjectPtr font = object(getProperty(
        object(getProperty(yTitle, "Characters", {Variant(*unit.symbolPosition), Variant(int32_t{1})})), "Font"));
    setProperty(font, "Name", Variant("Symbol"));
    setProperty(font, "FontStyle", Variant("Bold"));
  }

  // The x axis runs along the bottom of the plot, wherever the values lie.
  setProperty(yAxis, "Crosses", Variant(int32_t{xl::xlAxisCrossesCustom}));
  setProperty(yAxis, "CrossesAt", getProperty(yAxis, "MinimumScale"));
  setProperty(yAxis, "HasMajorGridlines", Variant(true));

  callMethod(chart, "Location", {Variant(int32_t{xl::xlLocationAsObject}), getProperty(sheet, "Name")});

  callMethod(object(callMethod(object(getProperty(sheet, "Shapes")), "Item", {Variant("Chart 1")})), "IncrementLeft",
             {Variant(200.0)});
  callMethod(object(callMethod(sheet, "ChartObjects", {Variant("Chart 1")})), "Activate");

  // A trace keeps its colour whichever others are blank.
  const ObjectPtr active = object(getProperty(app, "ActiveChart"));
  const bool shown[] = {trace1Shown, trace2Shown, trace3Shown};
  int32_t series = 1;
  for (int trace = 0; trace < 3; ++trace) {
    if (!shown[trace]) continue;
    callMethod(object(callMethod(active, "SeriesCollection", {Variant(series)})), "Select");
    setBorder(app, kTraceColors[trace], xl::xlThin);
    ++series;
  }

  callMethod(object(getProperty(axis(active, xl::xlCategory), "MajorGridlines")), "Select");
  setBorder(app, kGridColor, xl::xlHairline);
  callMethod(object(getProperty(axis(active, xl::xlValue), "MajorGridlines")), "Select");
  setBorder(app, kGridColor, xl::xlHairline);

  callMethod(object(getProperty(active, "PlotArea")), "Select");
  setBorder(app, kBackgroundColor, xl::xlThin);
  const ObjectPtr interior = object(getProperty(object(getProperty(app, "Selection")), "Interior"));
  setProperty(interior, "ColorIndex", Variant(kBackgroundColor));
  setProperty(interior, "PatternColorIndex", Variant(kBackgroundColor));
  setProperty(interior, "Pattern", Variant(int32_t{xl::xlPatternSolid}));

  setProperty(app, "ScreenUpdating", screenUpdating);
}

}  // namespace zel
