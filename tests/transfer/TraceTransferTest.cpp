// A transfer against the simulated analyzer, read back from the in-memory workbook: the sheet,
// every cell of the layout, widths, alignment and formats, the order of the server calls, the
// I/O time-out, and what stays behind when a call fails.
#include <gmock/gmock.h>

#include <cmath>

#include "TransferTesting.h"
#include "automation/Conversions.h"
#include "office/excel/Constants.h"

namespace zel::test {
namespace {

using automation::Variant;
using office::excel::kStandardColumnWidth;
using office::excel::xlCenter;
using office::excel::xlGeneral;
using testing::ElementsAre;
using testing::ElementsAreArray;

// A width read back is the nearest one Excel can show, so it is compared to a pixel.
constexpr double kPixel = 1.0 / 7;

class TraceTransfer : public TransferTest {
 protected:
  // 100 MHz to 200 MHz, 11 points, a quarter-second sweep, traces 1 and 3 shown.
  void swept() {
    instrument(":SENS:FREQ:STAR 100 MHZ;:SENS:FREQ:STOP 200 MHZ;:SENS:SWE:POIN 11;:SENS:SWE:TIME 250 MS;"
               ":UNIT:POW DBM;:TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE MAXH");
  }
  double number(const std::string& address) const { return cell(address).asDouble(); }
};

TEST_F(TraceTransfer, StartCellB3WithTraces1And3LaysOutTheColumnsCellByCell) {
  swept();
  run();

  auto& data = sheet();
  EXPECT_EQ(data.Name(), "Dec 4, 2026 8h 16m 18s");
  EXPECT_EQ(book()->activeSheet()->sheetObject(), transfer->dataSheet());
  EXPECT_EQ(cell("D3"), Variant("Trace3 (dBm)"));

  // x: the start, then steps of span / N added one after another (rows 11 and 13 differ from
  // start + i x step in their last digit), the stop set exactly: the last gap is two steps.
  double x = 100e6;
  for (int row = 4; row <= 13; ++row, x += 100e6 / 11) EXPECT_EQ(number("B" + std::to_string(row)), x) << row;
  EXPECT_EQ(number("B14"), 200e6);

  const std::vector<float> trace1 = heldTrace(1), trace3 = heldTrace(3);
  ASSERT_EQ(trace1.size(), 11u);
  // The running extremes start at 1e-30 and 1e+30: negative dBm values never raise the maximum.
  double high = 1e-30, low = 1e30;
  for (int i = 0; i < 11; ++i) {
    const std::string row = std::to_string(4 + i);
    EXPECT_EQ(number("C" + row), trace1[i]) << "C" << row;
    EXPECT_EQ(number("D" + row), trace3[i]) << "D" << row;
    high = std::max({high, double(trace1[i]), double(trace3[i])});
    low = std::min({low, double(trace1[i]), double(trace3[i])});
  }
  for (const char* below : {"B15", "C15", "D15", "A4", "E4"}) EXPECT_TRUE(cell(below).isEmpty()) << below;

  // Data columns doubled, the annotation column tripled, the rest untouched.
  for (int column : {2, 3, 4}) EXPECT_NEAR(data.columnWidth(column), 2 * kStandardColumnWidth, kPixel) << column;
  EXPECT_EQ(data.columnWidth(1), kStandardColumnWidth);
  EXPECT_EQ(data.columnWidth(6), kStandardColumnWidth);

  // Values centred with their formats; the headings keep the sheet's defaults, except in the
  // annotation column, which is centred as a whole.
  EXPECT_EQ(styleAt("B14").numberFormat, "0.00E+00");
  EXPECT_EQ(styleAt("D14").numberFormat, "0.000E+00");
  for (const char* centred : {"B4", "D14", "E3", "E100"})
    EXPECT_EQ(styleAt(centred).horizontalAlignment, xlCenter) << centred;
  EXPECT_EQ(styleAt("C3").horizontalAlignment, xlGeneral);
  EXPECT_EQ(styleAt("B15").numberFormat, "General");

  // The start cell is selected; the extremes stay behind for the chart.
  EXPECT_EQ(data.activeRow(), 3);
  EXPECT_EQ(data.activeColumn(), 2);
  EXPECT_EQ(transfer->dataMax(), high);
  EXPECT_EQ(transfer->dataMin(), low);
}

TEST_F(TraceTransfer, ServerCallsComeInTheirOrderAndTwoShownTracesAreReadInOneCall) {
  swept();
  annotate({"Reference Level", "Instrument Model"});
  server.clearCommandLog();
  run();
  EXPECT_THAT(queries(), ElementsAre(":SENS:FREQ:STAR?", ":SENS:FREQ:STOP?", ":DISP:WIND:TRAC:Y:SPAC?",
                                     ":SYST:DATE?", ":SYST:TIME?", ":SENS:SWE:POIN?", ":SENS:SWE:TIME?",
                                     ":TRAC1:MODE?", ":TRAC2:MODE?", ":TRAC3:MODE?",
                                     // one GetAllTraceData reads every trace, the blank one too
                                     ":TRAC:DATA? TRACE1", ":TRAC:DATA? TRACE2", ":TRAC:DATA? TRACE3",
                                     ":UNIT:POW?", ":UNIT:POW?",  // the two trace headings
                                     ":UNIT:POW?", ":DISP:WIND:TRAC:Y:RLEV?", "*IDN?"));
}

TEST_F(TraceTransfer, WhichTracesAreReadDependsOnHowManyAreShown) {
  struct Case {
    const char* modes;
    std::vector<std::string> reads;
    std::vector<std::string> headings;  // C3, D3, E3
  };
  const Case cases[] = {
      {":TRAC1:MODE BLAN;:TRAC2:MODE VIEW;:TRAC3:MODE BLAN", {":TRAC:DATA? TRACE2"}, {"Trace2 (dBm)", "", ""}},
      {":TRAC1:MODE MINH;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN", {":TRAC:DATA? TRACE1"}, {"Trace1 (dBm)", "", ""}},
      {":TRAC1:MODE WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE VIEW",
       {":TRAC:DATA? TRACE1", ":TRAC:DATA? TRACE2", ":TRAC:DATA? TRACE3"},
       {"Trace1 (dBm)", "Trace2 (dBm)", "Trace3 (dBm)"}},
      {":TRAC1:MODE BLAN;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN", {}, {"", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modes);
    swept();
    instrument(c.modes);
    server.clearCommandLog();
    run();
    std::vector<std::string> reads;
    for (const std::string& q : queries())
      if (q.starts_with(":TRAC:DATA?")) reads.push_back(q);
    EXPECT_THAT(reads, ElementsAreArray(c.reads));
    const Variant headings[] = {cell("C3"), cell("D3"), cell("E3")};
    for (size_t i = 0; i < 3; ++i)
      EXPECT_EQ(headings[i], c.headings[i].empty() ? Variant() : Variant(c.headings[i])) << "column " << i + 3;
    // The annotation column sits right of the last trace column, without gaps.
    const int32_t annotationColumn = 3 + static_cast<int32_t>(c.reads.size() == 3 ? 3 : c.reads.size());
    EXPECT_EQ(transfer->startColumn(), annotationColumn);
    EXPECT_NEAR(sheet().columnWidth(annotationColumn), 3 * kStandardColumnWidth, kPixel);
    fakeClock.advance(std::chrono::seconds(1));
  }
}

TEST_F(TraceTransfer, RepeatedDataTakesAFreshSweepBeforeReading) {
  swept();
  transfer->m_getRepeatedData = true;
  server.clearCommandLog();
  run();
  const std::vector<std::string> log = server.commandLog();
  const auto sweep = std::find(log.begin(), log.end(), ":INIT:IMM;*OPC?");
  const auto read = std::find(log.begin(), log.end(), ":TRAC:DATA? TRACE1");
  ASSERT_NE(sweep, log.end());
  EXPECT_LT(sweep, read);
}

TEST_F(TraceTransfer, ZeroSpanAndSinglePointXColumns) {
  struct Case {
    const char* setup;
    const char* heading;
    std::vector<double> x;  // B4, B5, ... as far as given
  };
  const Case cases[] = {
      {":SENS:FREQ:CENT 1 GHZ;:SENS:FREQ:SPAN 0;:SENS:SWE:TIME 20 MS;:SENS:SWE:POIN 4", "Time (s)",
       {0, 0.005, 0.01, 0.02}},
      {":SENS:FREQ:CENT 1 GHZ;:SENS:FREQ:SPAN 0;:SENS:SWE:TIME 20 MS;:SENS:SWE:POIN 1", "Time (s)", {0.02}},
      {":SENS:FREQ:STAR 100 MHZ;:SENS:FREQ:STOP 200 MHZ;:SENS:SWE:POIN 1", "Frequency (Hz)", {200e6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setup);
    instrument(c.setup);
    run();
    EXPECT_EQ(cell("B3"), Variant(c.heading));
    for (size_t i = 0; i < c.x.size(); ++i)
      EXPECT_DOUBLE_EQ(number("B" + std::to_string(4 + i)), c.x[i]) << "row " << 4 + i;
    EXPECT_TRUE(cell("B" + std::to_string(4 + c.x.size())).isEmpty());
    EXPECT_EQ(transfer->isZeroSpan(), std::string(c.heading) == "Time (s)");
    fakeClock.advance(std::chrono::seconds(1));
  }
}

TEST_F(TraceTransfer, UnitLabelsInHeadingsDrawTheMicroSignInTheSymbolFont) {
  struct Case {
    const char* unit;
    const char* heading;
    int32_t symbolCharacter;  // 0: none
  };
  const Case cases[] = {
      {"DBUV", "Trace1 (dBmV)", 11}, {"UVM", "Trace1 (mV/m)", 9}, {"DBUAM", "Trace1 (dBmA/m)", 11},
      {"DBM", "Trace1 (dBm)", 0},    {"W", "Trace1 (Watts)", 0},  {"GAUS", "Trace1 (Gauss)", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unit);
    instrument(std::string(":SENS:SWE:POIN 5;:UNIT:POW ") + c.unit);
    run();
    EXPECT_EQ(cell("C3"), Variant(c.heading));
    const office::excel::CellStyle& style = styleAt("C3");
    const int32_t length = static_cast<int32_t>(std::string(c.heading).size());
    for (int32_t i = 1; i <= length; ++i) {
      const office::excel::FontSpec font = style.fontAt(i);
      EXPECT_EQ(font.name, i == c.symbolCharacter ? "Symbol" : "Calibri") << "character " << i;
      EXPECT_FALSE(font.bold || font.italic) << "character " << i;
    }
    fakeClock.advance(std::chrono::seconds(1));
  }
}

TEST_F(TraceTransfer, WithoutEngineeringUnitsNoColumnGetsANumberFormat) {
  swept();
  annotate({"Attenuation", "Start Frequency"});
  transfer->m_includeEngUnits = false;
  run();
  for (const char* address : {"B4", "B14", "C4", "D14", "E4", "E7"})
    EXPECT_EQ(styleAt(address).numberFormat, "General") << address;
  EXPECT_EQ(styleAt("C4").horizontalAlignment, xlCenter);
}

TEST_F(TraceTransfer, IoTimeoutIsRaisedForTheTraceReadsOnly) {
  swept();  // a quarter-second sweep wants 2250 ms
  run();
  EXPECT_EQ(zel->Device()->IoTimeout(), kTimeoutMs) << "restored after the reads";

  // A read that fails leaves the time-out as it was during the reads.
  struct Case {
    int32_t before;
    int32_t during;
  };
  for (const Case c : {Case{2000, 2250}, Case{2250, 2250}, Case{10000, 10000}}) {
    SCOPED_TRACE(c.before);
    zel->Device()->setIoTimeout(c.before);
    server.setFaults(sim::Faults{.closeAfterBytes = 20});
    fakeClock.advance(std::chrono::seconds(1));
    EXPECT_NE(errorOf([&] { run(); }), 0);
    server.setFaults({});
    EXPECT_EQ(zel->Device()->IoTimeout(), c.during);
  }
}

TEST_F(TraceTransfer, AFailureEndsTheTransferAndKeepsWhatWasWritten) {
  swept();
  annotate({"Attenuation"});
  server.setFaults(sim::Faults{.closeAfterBytes = 20});  // trace replies are cut, the short ones pass
  const int32_t error = errorOf([&] { run(); });
  server.setFaults({});
  EXPECT_NE(error, 0);
  EXPECT_EQ(sheet().Name(), "Dec 4, 2026 8h 16m 18s");
  EXPECT_EQ(cell("B3"), Variant("Frequency (Hz)"));
  EXPECT_EQ(number("B14"), 200e6);
  EXPECT_TRUE(cell("C3").isEmpty());
  EXPECT_TRUE(cell("C4").isEmpty());
  EXPECT_NEAR(sheet().columnWidth(3), kStandardColumnWidth, kPixel) << "the annotation column was not reached";
}

TEST_F(TraceTransfer, IntegerArgumentsAbove32767Overflow) {
  struct Case {
    const char* startCell;
    int points;
  };
  // N itself, the first data row, and the last data row computed from them.
  for (const Case c : {Case{"B3", 40001}, Case{"B32767", 1}, Case{"B32000", 1000}}) {
    SCOPED_TRACE(c.startCell);
    instrument(":SENS:SWE:POIN " + std::to_string(c.points));
    transfer->setStartCell(c.startCell);
    const int32_t error = errorOf([&] { run(); });
    EXPECT_EQ(error, automation::vbErrOverflow);
    EXPECT_EQ(sheet().Name(), automation::CStr(Variant(transfer->dataSheet()->Name())));
    EXPECT_EQ(transfer->dataSheet()->Cells(Variant(transfer->startRow()), Variant(2))->Value(),
              Variant("Frequency (Hz)"));
    EXPECT_TRUE(transfer->dataSheet()->Cells(Variant(transfer->startRow() + 1), Variant(2))->Value().isEmpty());
    fakeClock.advance(std::chrono::seconds(1));
  }
}

TEST_F(TraceTransfer, EachTransferAddsASheetInFrontAndTheSameSecondCollides) {
  instrument(":SENS:SWE:POIN 5");
  run();
  fakeClock.advance(std::chrono::minutes(1));
  run();
  const auto& sheets = book()->sheets();
  ASSERT_EQ(sheets.size(), 3u);
  EXPECT_EQ(sheets[0]->sheetName(), "Dec 4, 2026 8h 17m 18s");
  EXPECT_EQ(sheets[1]->sheetName(), "Dec 4, 2026 8h 16m 18s");
  EXPECT_EQ(sheets[2]->sheetName(), "Sheet1");

  // A second transfer within the same second fails at naming; its sheet stays unnamed and empty.
  const int32_t error = errorOf([&] { run(); });
  EXPECT_EQ(error, 1004);
  ASSERT_EQ(book()->sheets().size(), 4u);
  EXPECT_EQ(sheet().Index(), 1);
  EXPECT_EQ(sheet().Name().rfind("Sheet", 0), 0u) << sheet().Name();
  EXPECT_TRUE(cell("B3").isEmpty());
}

}  // namespace
}  // namespace zel::test
