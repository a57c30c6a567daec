// The chart of a transfer, built against the simulated analyzer and read back from the
// in-memory Excel: the calls in order, the series and their colours, the axes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "office/excel/MemoryChart.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/WorkbookSaver.h"

#include <cstdio>
#include <filesystem>
#include "tests/transfer/TransferTesting.h"

namespace zel::test {
namespace {

using office::excel::MemoryChart;
using testing::ElementsAre;

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
  std::vector<int32_t> seriesColours() const {
    std::vector<int32_t> colours;
    for (const auto& series : chart().series()) colours.push_back(series->line()->colorIndex);
    return colours;
  }
};

TEST_F(ChartTest, OneChartIsBuiltInThisOrder) {
  setUp(":TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE MAXH");
  run();
  const std::string& model = zel->Device()->Model();
  EXPECT_THAT(
      excel->chartCalls(),
      ElementsAre("ScreenUpdating = False", "Charts.Add", "ChartType = 75", "SetSourceData(B4:D14, 2)",
                  "HasTitle = True", "ChartTitle.Characters.Text = \"ORV/ZEL Spectrum Analyzer (" + model + ")\"",
                  "HasLegend = False", "Axes(1, 1).HasTitle = True",
                  "Axes(1, 1).AxisTitle.Characters.Text = \"Frequency (Hz)\"", "Axes(1, 1).HasMajorGridlines = True",
                  "Axes(1, 1).HasMinorGridlines = False", "Axes(1, 1).MinimumScaleIsAuto = True",
                  "Axes(1, 1).MaximumScaleIsAuto = True", "Axes(1, 1).MinorUnitIsAuto = True",
                  "Axes(1, 1).MajorUnitIsAuto = True", "Axes(1, 1).ReversePlotOrder = False",
                  "Axes(1, 1).ScaleType = -4132", "Axes(2, 1).HasMajorGridlines = True",
                  "Axes(2, 1).HasMinorGridlines = False", "Axes(2, 1).HasTitle = True",
                  "Axes(2, 1).AxisTitle.Characters.Text = \"dBm\"", "Axes(2, 1).Crosses = -4114",
                  testing::StartsWith("Axes(2, 1).CrossesAt = "), "Axes(2, 1).HasMajorGridlines = True",
                  "Location(2, \"Dec 4, 2026 8h 16m 18s\")", "Shapes(\"Chart 1\").IncrementLeft 200",
                  "ChartObjects(\"Chart 1\").Activate", "SeriesCollection(1).Select",
                  "Selection.Border.ColorIndex = 6", "Selection.Border.Weight = 2", "Selection.Border.LineStyle = 1",
                  "SeriesCollection(2).Select", "Selection.Border.ColorIndex = 7", "Selection.Border.Weight = 2",
                  "Selection.Border.LineStyle = 1", "Axes(1, 1).MajorGridlines.Select",
                  "Selection.Border.ColorIndex = 2", "Selection.Border.Weight = 1", "Selection.Border.LineStyle = 1",
                  "Axes(2, 1).MajorGridlines.Select", "Selection.Border.ColorIndex = 2", "Selection.Border.Weight = 1",
                  "Selection.Border.LineStyle = 1", "PlotArea.Select", "Selection.Border.ColorIndex = 1",
                  "Selection.Border.Weight = 2", "Selection.Border.LineStyle = 1",
                  "Selection.Interior.ColorIndex = 1", "Selection.Interior.PatternColorIndex = 1",
                  "Selection.Interior.Pattern = 1", "ScreenUpdating = True"));
  // The chart sheet is gone into the data sheet, which stays active with the start cell selected.
  EXPECT_EQ(book()->sheets().size(), 2u);
  EXPECT_EQ(book()->activeSheet().get(), &sheet());
  EXPECT_DOUBLE_EQ(sheet().shapes()[0]->Left(), 204 + 200);
}

TEST_F(ChartTest, EachShownTraceKeepsItsColourWhicheverAreBlank) {
  struct Case {
    const char* modes;
    std::vector<int32_t> colours;
    int32_t lastColumn;
  };
  const Case cases[] = {
      {":TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE MAXH", {6, 7}, 4},
      {":TRAC1:MODE BLAN;:TRAC2:MODE BLAN;:TRAC3:MODE VIEW", {7}, 3},
      {":TRAC1:MODE WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE VIEW", {6, 28, 7}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modes);
    fakeClock.advance(std::chrono::seconds(1));
    setUp(c.modes);
    run();
    EXPECT_EQ(seriesColours(), c.colours);
    for (const auto& series : chart().series()) {
      EXPECT_EQ(series->xValues()->column1, 2);
      EXPECT_EQ(series->line()->weight, office::excel::xlThin);
    }
    EXPECT_EQ(chart().series().back()->values().column1, c.lastColumn);
  }
}

TEST_F(ChartTest, AllTracesBlankPlotsTheXColumnAlone) {
  setUp(":TRAC1:MODE BLAN;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN");
  run();
  ASSERT_EQ(chart().series().size(), 1u);
  EXPECT_FALSE(chart().series()[0]->xValues());
  EXPECT_EQ(chart().series()[0]->values(), (office::excel::Area{4, 2, 14, 2}));
  EXPECT_EQ(chart().series()[0]->line()->colorIndex, office::excel::xlColorIndexAutomatic);
}

TEST_F(ChartTest, AxesFollowSpanScaleAndUnits) {
  using office::excel::xlCategory;
  using office::excel::xlValue;
  {
    SCOPED_TRACE("zero span, linear");
    instrument(":SENS:FREQ:STAR 100 MHZ;:SENS:FREQ:STOP 100 MHZ;:SENS:SWE:POIN 11;:UNIT:POW DBM;"
               ":DISP:WIND:TRAC:Y:SPAC LIN;:TRAC1:MODE WRIT");
    run();
    EXPECT_EQ(chart().axis(xlCategory).title()->text, "Time (s)");
    EXPECT_FALSE(chart().axis(xlCategory).crossesAt());
    EXPECT_FALSE(chart().axis(xlValue).maximum());
    EXPECT_EQ(chart().axis(xlValue).ScaleType(), office::excel::xlScaleLinear);
    // The x axis lies along the bottom of the plot.
    EXPECT_EQ(chart().axis(xlValue).crossesAt(), chart().axis(xlValue).MinimumScale());
    EXPECT_LE(chart().axis(xlValue).MinimumScale(), transfer->dataMin());
  }
  {
    SCOPED_TRACE("log scale in dBm: the top stays at the running maximum's start");
    fakeClock.advance(std::chrono::seconds(1));
    instrument(":SENS:FREQ:STOP 200 MHZ;:DISP:WIND:TRAC:Y:SPAC LOG");
    run();
    ASSERT_LT(transfer->dataMin(), 0);
    EXPECT_EQ(chart().axis(xlValue).maximum(), 1e-30);
    EXPECT_EQ(chart().axis(xlValue).minimum(), transfer->dataMin());
    EXPECT_EQ(chart().axis(xlValue).ScaleType(), office::excel::xlScaleLinear);
  }
  {
    SCOPED_TRACE("log scale in volts: logarithmic between the data's limits, mu in the Symbol font");
    fakeClock.advance(std::chrono::seconds(1));
    instrument(":UNIT:POW V");
    run();
    ASSERT_GT(transfer->dataMin(), 0);
    EXPECT_EQ(chart().axis(xlValue).maximum(), transfer->dataMax());
    EXPECT_EQ(chart().axis(xlValue).minimum(), transfer->dataMin());
    EXPECT_EQ(chart().axis(xlValue).ScaleType(), office::excel::xlScaleLogarithmic);
    EXPECT_EQ(chart().axis(xlValue).title()->text, "Volts");
  }
}

TEST_F(ChartTest, MicroUnitsShowMuInBoldOnTheValueAxis) {
  setUp(":TRAC1:MODE WRIT", ";:UNIT:POW UVM");
  run();
  const auto& title = *chart().axis(office::excel::xlValue).title();
  EXPECT_EQ(title.text, "mV/m");
  ASSERT_TRUE(title.fonts.at(0));
  EXPECT_EQ(title.fonts[0]->name, "Symbol");
  EXPECT_TRUE(title.fonts[0]->bold);
  EXPECT_FALSE(title.fonts.at(1));
}

TEST_F(ChartTest, AFailureLeavesTheChartSheetAndScreenUpdatingOff) {
  // Limits that cross each other are refused by the host: a log-scaled sheet with no trace
  // leaves the running maximum below the running minimum.
  setUp(":TRAC1:MODE BLAN;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN", ";:DISP:WIND:TRAC:Y:SPAC LOG");
  const automation::Error error = raised([&] { run(); });
  EXPECT_EQ(error.number(), 1004);
  EXPECT_FALSE(excel->ScreenUpdating());
  ASSERT_EQ(book()->sheets().size(), 3u);
  auto chartSheet = std::dynamic_pointer_cast<MemoryChart>(book()->activeSheet());
  ASSERT_TRUE(chartSheet);
  EXPECT_EQ(chartSheet->Name(), "Chart1");
  EXPECT_EQ(chartSheet->axis(office::excel::xlValue).maximum(), 1e-30);
}

// The saved file read back with Python's own zip and XML readers.
TEST_F(ChartTest, TheSavedChartShowsWhatExcelShows) {
  setUp(":TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE MAXH");
  run();
  const auto path = std::filesystem::temp_directory_path() / ("chart-" + std::to_string(::getpid()) + ".xlsx");
  office::excel::WorkbookSaver(*book()).save(path);
  const std::string command = "/usr/bin/python3 -c \"import sys,zipfile;x=zipfile.ZipFile(sys.argv[1]).read("
                              "'xl/charts/chart1.xml').decode();print(x.count('<c:ser>'),'scatterStyle val=\\\"lineMarker' in x,"
                              "'FFFF00' in x,'FF00FF' in x,'000000' in x,'Frequency (Hz)' in x,'legendPos' in x)\" '" +
                              path.string() + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_TRUE(pipe);
  char buffer[256] = {};
  const std::string out = fgets(buffer, sizeof buffer, pipe) ? buffer : "";
  ::pclose(pipe);
  std::filesystem::remove(path);
  EXPECT_EQ(out, "2 True True True True True False\n");
}

}  // namespace
}  // namespace zel::test
