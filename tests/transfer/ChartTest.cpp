// The chart of a transfer, built against the simulated analyzer (or one answering from a
// table) and read back from the in-memory Excel and from the saved file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>

#include "office/excel/MemoryChart.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/WorkbookSaver.h"
#include "tests/companions/RawServer.h"
#include "tests/transfer/TransferTesting.h"

namespace zel::test {
namespace {

using office::excel::MemoryChart;
using office::excel::xlCategory;
using office::excel::xlValue;
using testing::ElementsAre;

// What an application opening the file finds in the chart: the series (x and y references,
// line colour), the plot area (border and fill colours), and each axis (position, title, bold
// title, tick-label format, where the other axis crosses it).
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

class ChartTest : public TransferTest {
 protected:
  ChartTest() { transfer->m_makeExcelGraph = true; }

  // 100 MHz to 200 MHz, 11 points; the trace modes as given.
  void setUp(const std::string& modes, const std::string& more = "") {
    instrument(":SENS:FREQ:STAR 100 MHZ;:SENS:FREQ:STOP 200 MHZ;:SENS:SWE:POIN 11;:SENS:SWE:TIME 250 MS;"
               ":UNIT:POW DBM;:DISP:WIND:TRAC:Y:SPAC LIN;" + modes + more);
  }
  // The embedded chart of the transfer's sheet.
  MemoryChart& chart() const {
    const auto& shapes = sheet().shapes();
    EXPECT_EQ(shapes.size(), 1u);
    return *shapes.at(0)->chart();
  }
  // The chart of the saved workbook, one line a record of kChartReader.
  std::vector<std::string> saved() {
    const auto dir = std::filesystem::temp_directory_path();
    const auto path = dir / ("chart-" + std::to_string(::getpid()) + ".xlsx");
    office::excel::WorkbookSaver(*book()).save(path);
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
};

TEST_F(ChartTest, TheSavedChartShowsTheTracesInTheirColoursOnABlackPlot) {
  setUp(":TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE MAXH", ";:UNIT:POW DBUV");
  excel->setScreenUpdating(false);  // a host that had it off gets it back off
  run();
  EXPECT_FALSE(excel->ScreenUpdating());
  // The chart sheet is gone into the data sheet, which stays active.
  EXPECT_EQ(book()->sheets().size(), 2u);
  EXPECT_EQ(book()->activeSheet().get(), &sheet());
  EXPECT_DOUBLE_EQ(sheet().shapes()[0]->Left(), 204 + 200);
  EXPECT_EQ(chart().title()->text, "ORV/ZEL Spectrum Analyzer (" + zel->Device()->Model() + ")");
  EXPECT_FALSE(chart().HasLegend());
  // The m of "dBmV" is drawn as a bold Symbol-font character.
  const auto& unitFont = chart().axis(xlValue).title()->fonts.at(2);
  ASSERT_TRUE(unitFont);
  EXPECT_EQ(unitFont->name, "Symbol");
  EXPECT_TRUE(unitFont->bold);

  const std::string sheetName = "'Dec 4, 2026 8h 16m 18s'";
  // The x axis crosses the value axis at its minimum, so it runs along the bottom whatever
  // minimum the reading application chooses; tick labels read as their columns.
  EXPECT_THAT(saved(), ElementsAre("series " + sheetName + "!$B$4:$B$14 " + sheetName + "!$C$4:$C$14 FFFF00",
                                   "series " + sheetName + "!$B$4:$B$14 " + sheetName + "!$D$4:$D$14 FF00FF",
                                   "plot 000000 000000", "axis b Frequency_(Hz) 1 0.00E+00 min",
                                   "axis l dBμV 1 0.000E+00 autoZero"));
}

TEST_F(ChartTest, TheValueAxisFollowsSpanScaleAndUnits) {
  struct Case {
    const char* setup;
    const char* xTitle;
    std::optional<double> maximum;  // NAN: the data's maximum
    bool logarithmic;
  };
  // In dBm a log-scaled axis keeps its top at the running maximum's start, 1e-30.
  const Case cases[] = {{":SENS:FREQ:STOP 100 MHZ", "Time (s)", std::nullopt, false},
                        {":SENS:FREQ:STOP 200 MHZ;:DISP:WIND:TRAC:Y:SPAC LOG", "Frequency (Hz)", 1e-30, false},
                        {":UNIT:POW V", "Frequency (Hz)", NAN, true}};
  setUp(":TRAC1:MODE WRIT");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setup);
    instrument(c.setup);
    fakeClock.advance(std::chrono::seconds(1));
    run();
    const auto& axis = chart().axis(xlValue);
    EXPECT_EQ(chart().axis(xlCategory).title()->text, c.xTitle);
    EXPECT_EQ(cell("B3"), automation::Variant(c.xTitle));
    EXPECT_EQ(axis.maximum(), c.maximum && std::isnan(*c.maximum) ? transfer->dataMax() : c.maximum);
    EXPECT_EQ(axis.minimum(), c.maximum ? std::optional<double>(transfer->dataMin()) : std::nullopt);
    EXPECT_EQ(axis.ScaleType(), c.logarithmic ? office::excel::xlScaleLogarithmic : office::excel::xlScaleLinear);
  }
}

// An analyzer answering from a table, with every trace blank in another letter case with blanks
// around it, and starts below 0 Hz, which the simulator does not sweep.
TEST_F(ChartTest, WithoutTracesTheXColumnIsPlottedAgainstItsPointNumbers) {
  std::map<std::string, std::string> replies{
      {":SENS:FREQ:STOP?", "1000000"}, {":DISP:WIND:TRAC:Y:SPAC?", "LIN"}, {":SYST:DATE?", "2026,12,4"},
      {":SYST:TIME?", "8,16,18"},      {":SENS:SWE:POIN?", "3"},           {":SENS:SWE:TIME?", "0.1"},
      {":UNIT:POW?", "DBM"},           {"*IDN?", "KRO,ORV 3013,100245,1.0"}};
  for (int trace = 1; trace <= 3; ++trace) replies[":TRAC" + std::to_string(trace) + ":MODE?"] = " blan ";
  kro::test::RawServer table([&](kro::test::RawServer::Peer& peer, const std::string& line) {
    if (line.find('?') == std::string::npos) return;
    const auto reply = replies.find(line);
    peer.send((reply == replies.end() ? std::string("0") : reply->second) + "\n");
  });
  zel->Device()->setIoSession(kro::makeIoLink(table.address()));
  transfer->m_includeEngUnits = false;
  for (const char* start : {"-1000000", "0"}) {
    SCOPED_TRACE(start);
    replies[":SENS:FREQ:STAR?"] = start;
    fakeClock.advance(std::chrono::seconds(1));
    run();
    EXPECT_TRUE(cell("C3").isEmpty()) << "no trace is shown";
    // Below 0 Hz the value axis sits at the left edge.
    const std::optional<double> crossing = chart().axis(xlCategory).crossesAt();
    EXPECT_EQ(crossing, start[0] == '-' ? std::optional<double>(-1e9) : std::nullopt);
  }
  EXPECT_THAT(saved()[0], "series - 'Dec 4, 2026 8h 16m 20s'!$B$4:$B$6 -");

  // Log-scaled without a trace, the running maximum stays below the running minimum: the host
  // refuses the limits, and the chart sheet stays behind with screen updating off.
  replies[":DISP:WIND:TRAC:Y:SPAC?"] = "LOG";
  fakeClock.advance(std::chrono::seconds(1));
  EXPECT_EQ(errorOf([&] { run(); }), 1004);
  EXPECT_FALSE(excel->ScreenUpdating());
  auto chartSheet = std::dynamic_pointer_cast<MemoryChart>(book()->activeSheet());
  ASSERT_TRUE(chartSheet);
  EXPECT_EQ(chartSheet->Name(), "Chart3");
  EXPECT_EQ(chartSheet->axis(xlValue).maximum(), 1e-30);
}

}  // namespace
}  // namespace zel::test
