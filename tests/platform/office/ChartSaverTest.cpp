// An embedded scatter chart saved as .xlsx and read back from the package's chart part: series
// references and colours, the plot area, and each axis's title, tick-label format and crossing.
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/SafeArray.h"
#include "office/excel/Chart.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/WorkbookSaver.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

namespace office::excel {
namespace {

using automation::callMethod;
using automation::getProperty;
using automation::ObjectPtr;
using automation::setProperty;
using automation::Variant;
using ::testing::ElementsAre;

// One line a record: each series (x and y references, line colour), the plot area (border and
// fill colours), and each axis (position, title, bold title, tick-label format, crossing).
constexpr const char* kChartReader = R"PY(
import sys, zipfile, xml.etree.ElementTree as ET
ns = {"c": "http://schemas.openxmlformats.org/drawingml/2006/chart",
      "a": "http://schemas.openxmlformats.org/drawingml/2006/main"}
x = ET.fromstring(zipfile.ZipFile(sys.argv[1]).read("xl/charts/chart1.xml"))
def val(e, path, attr="val"):
    f = e.find(path, ns)
    return "-" if f is None else (f.text if attr is None else f.get(attr, "-"))
for s in x.iter("{%s}ser" % ns["c"]):
    ys = val(s, "c:yVal//c:f", None) if s.find("c:yVal", ns) is not None else val(s, "c:val//c:f", None)
    print("series", val(s, "c:xVal//c:f", None), ys, val(s, "c:spPr/a:ln/a:solidFill/a:srgbClr"))
p = x.find(".//c:plotArea/c:spPr", ns)
print("plot", val(p, "a:ln/a:solidFill/a:srgbClr"), val(p, "a:solidFill/a:srgbClr"))
for a in x.find(".//c:plotArea", ns):
    if not a.tag.endswith("Ax"):
        continue
    title = "".join(t.text for t in a.iterfind("c:title//a:t", ns)).replace(" ", "_") or "-"
    cross = "at=" + val(a, "c:crossesAt") if a.find("c:crossesAt", ns) is not None else val(a, "c:crosses")
    print("axis", val(a, "c:axPos"), title, val(a, "c:title//a:defRPr", "b"), val(a, "c:numFmt", "formatCode"), cross)
)PY";

class ChartSaverTest : public ::testing::Test {
 protected:
  ChartSaverTest() {
    excel->Workbooks()->Add();
    sheet = asWorksheet(excel->activeWorkbook()->ActiveSheet());
    automation::SafeArray values(automation::vbDouble, {{1, 3}, {1, 2}});
    for (int i = 0; i < 6; ++i) values.doubles()[i] = -40.0 + i;
    range("B4:C6")->setValue(Variant(values));
    range("B4:B6")->setNumberFormat("0.00E+00");
    range("C4:C6")->setNumberFormat("0.000E+00");
  }
  std::shared_ptr<Range> range(const char* address) { return sheet->Range(Variant(address)); }
  static ObjectPtr object(const Variant& v) { return v.asObject(); }
  // Colours the line of what the user selected last, as a recorded macro does.
  void border(int32_t colorIndex) {
    setProperty(object(getProperty(object(excel->Selection()), "Border")), "ColorIndex", Variant(colorIndex));
  }

  // A line chart of `source` placed on the sheet, its value axis crossing the category axis at
  // its own minimum; the value axis's title has a bold Symbol character in third place.
  ObjectPtr chartOf(const char* source) {
    const ObjectPtr chart = object(callMethod(excel->Charts(), "Add"));
    setProperty(chart, "ChartType", Variant(int32_t{xlXYScatterLinesNoMarkers}));
    callMethod(chart, "SetSourceData", {Variant(ObjectPtr(range(source))), Variant(int32_t{xlColumns})});
    const ObjectPtr xAxis = object(callMethod(chart, "Axes", {Variant(int32_t{xlCategory})}));
    setProperty(xAxis, "HasTitle", Variant(true));
    setProperty(object(getProperty(object(getProperty(xAxis, "AxisTitle")), "Characters")), "Text",
                Variant("Frequency (Hz)"));
    const ObjectPtr yAxis = object(callMethod(chart, "Axes", {Variant(int32_t{xlValue})}));
    setProperty(yAxis, "MinimumScale", Variant(-40.0));
    setProperty(yAxis, "MaximumScale", Variant(-35.0));
    setProperty(yAxis, "HasTitle", Variant(true));
    const ObjectPtr yTitle = object(getProperty(yAxis, "AxisTitle"));
    setProperty(object(getProperty(yTitle, "Characters")), "Text", Variant("dBmV"));
    const ObjectPtr font =
        object(getProperty(object(getProperty(yTitle, "Characters", {Variant(int32_t{3}), Variant(int32_t{1})})),
                           "Font"));
    setProperty(font, "Name", Variant("Symbol"));
    setProperty(font, "FontStyle", Variant("Bold"));
    setProperty(yAxis, "Crosses", Variant(int32_t{xlAxisCrossesCustom}));
    setProperty(yAxis, "CrossesAt", getProperty(yAxis, "MinimumScale"));
    return callMethod(chart, "Location", {Variant(int32_t{xlLocationAsObject}), Variant(sheet->Name())}).asObject();
  }

  // The saved file's chart, one line a record of kChartReader.
  std::vector<std::string> saved() {
    const auto path = std::filesystem::temp_directory_path() / ("chart-" + std::to_string(::getpid()) + ".xlsx");
    WorkbookSaver(*excel->activeWorkbook()).save(path);
    // The reader holds no single quote, so the shell passes it whole.
    const std::string command = "/usr/bin/python3 -c '" + std::string(kChartReader) + "' '" + path.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::vector<std::string> lines;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) lines.emplace_back(buffer, std::strlen(buffer) - 1);
    if (pipe) ::pclose(pipe);
    std::filesystem::remove(path);
    return lines;
  }

  std::shared_ptr<MemoryApplication> excel = createApplication();
  std::shared_ptr<Worksheet> sheet;
};

TEST_F(ChartSaverTest, ColoursBoldSymbolsFormatsAndTheCrossingAtTheMinimumAreSaved) {
  const ObjectPtr chart = chartOf("B4:C6");
  callMethod(object(callMethod(chart, "SeriesCollection", {Variant(int32_t{1})})), "Select");
  border(6);
  callMethod(object(getProperty(chart, "PlotArea")), "Select");
  border(1);  // black, which the file must not take for no colour
  const ObjectPtr interior = object(getProperty(object(excel->Selection()), "Interior"));
  setProperty(interior, "ColorIndex", Variant(int32_t{1}));
  setProperty(interior, "Pattern", Variant(int32_t{xlPatternSolid}));
  const std::string name = sheet->Name();
  EXPECT_THAT(saved(), ElementsAre("series " + name + "!$B$4:$B$6 " + name + "!$C$4:$C$6 FFFF00",
                                   "plot 000000 000000", "axis b Frequency_(Hz) 1 0.00E+00 min",
                                   "axis l dBμV 1 0.000E+00 autoZero"));
}

TEST_F(ChartSaverTest, ASeriesWithoutXValuesIsPlottedAgainstItsPointNumbers) {
  chartOf("B4:B6");
  EXPECT_THAT(saved().at(0), "series - " + sheet->Name() + "!$B$4:$B$6 -");
}

}  // namespace
}  // namespace office::excel
