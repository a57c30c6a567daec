// The chart of a transfer, built against the simulated analyzer (or one answering from a
// table) and read back from the in-memory Excel.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "office/excel/MemoryChart.h"
#include "office/excel/MemoryShapes.h"
#include "tests/companions/RawServer.h"
#include "tests/transfer/TransferTesting.h"

namespace zel::test {
namespace {

using office::excel::MemoryChart;
using office::excel::xlCategory;
using office::excel::xlValue;

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
};

TEST_F(ChartTest, TheChartShowsTheTracesInTheirColoursOnABlackPlot) {
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
  // Each shown trace in its own colour, whatever series it became; the plot is black.
  ASSERT_EQ(chart().series().size(), 2u);
  EXPECT_EQ(chart().series()[0]->line()->colorIndex, 6);
  EXPECT_EQ(chart().series()[1]->line()->colorIndex, 7);
  EXPECT_EQ(chart().plotArea()->line()->colorIndex, 1);
  EXPECT_EQ(chart().axis(xlValue).crossesAt(), chart().axis(xlValue).MinimumScale());
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
  ASSERT_EQ(chart().series().size(), 1u);
  EXPECT_FALSE(chart().series()[0]->xValues()) << "the x column alone, against the point numbers";
}

}  // namespace
}  // namespace zel::test
