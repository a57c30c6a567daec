// Transfers against the simulated analyzer, read back from the in-memory workbook: the sheet and
// its columns, which traces are read and under which headings, the annotations, the I/O time-out
// around the reads, and what stays behind when a step fails.
#include <gmock/gmock.h>

#include "TransferTesting.h"
#include "automation/Conversions.h"
#include "office/excel/Constants.h"

namespace zel::test {
namespace {

using automation::Variant;
using office::excel::kStandardColumnWidth;
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
  // The next transfer, a second after the last, so that it gets a sheet of its own.
  void next() {
    fakeClock.advance(std::chrono::seconds(1));
    server.clearCommandLog();
    run();
  }
};

TEST_F(TraceTransfer, TracesOneAndThreeFromB3AfterAFreshSweep) {
  swept();
  transfer->m_getRepeatedData = true;
  run();
  EXPECT_EQ(sheet().Name(), "Dec 4, 2026 8h 16m 18s");
  EXPECT_EQ(book()->activeSheet()->sheetObject(), transfer->dataSheet());
  EXPECT_EQ(cell("B3"), Variant("Frequency (Hz)"));
  EXPECT_EQ(cell("D3"), Variant("Trace3 (dBm)"));
  const std::vector<std::string> log = server.commandLog();
  EXPECT_LT(std::find(log.begin(), log.end(), ":INIT:IMM;*OPC?"), std::find(log.begin(), log.end(), ":TRAC:DATA? TRACE1"));

  // x: the start, then steps of span / N added one after another (rows 11 and 13 differ from
  // start + i x step in their last digit), the stop set exactly: the last gap is two steps.
  double x = 100e6;
  for (int row = 4; row <= 13; ++row, x += 100e6 / 11) EXPECT_EQ(number("B" + std::to_string(row)), x) << row;
  EXPECT_EQ(number("B14"), 200e6);
  const std::vector<float> trace1 = heldTrace(1), trace3 = heldTrace(3);
  ASSERT_EQ(trace1.size(), 11u);
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(number("C" + std::to_string(4 + i)), trace1[i]) << i;
    EXPECT_EQ(number("D" + std::to_string(4 + i)), trace3[i]) << i;
  }
  for (const char* below : {"B15", "D15", "A4", "E4"}) EXPECT_TRUE(cell(below).isEmpty()) << below;

  // Data columns doubled, the annotation column tripled and centred, values in their formats.
  for (int column : {2, 3, 4}) EXPECT_NEAR(sheet().columnWidth(column), 2 * kStandardColumnWidth, kPixel) << column;
  EXPECT_NEAR(sheet().columnWidth(5), 3 * kStandardColumnWidth, kPixel);
  EXPECT_EQ(sheet().columnWidth(1), kStandardColumnWidth);
  EXPECT_EQ(styleAt("B14").numberFormat, "0.00E+00");
  EXPECT_EQ(styleAt("D14").numberFormat, "0.000E+00");
  for (const char* centred : {"B4", "D14", "E100"})
    EXPECT_EQ(styleAt(centred).horizontalAlignment, office::excel::xlCenter) << centred;
  EXPECT_EQ(std::pair(sheet().activeRow(), sheet().activeColumn()), std::pair(3, 2)) << "the start cell is selected";
  EXPECT_EQ(zel->Device()->IoTimeout(), kTimeoutMs) << "raised for the reads only";
}

TEST_F(TraceTransfer, ShownTracesAreReadAndHeadedInTheAmplitudeUnit) {
  struct Case {
    const char* modes;
    const char* unit;
    std::vector<std::string> reads;
    std::vector<std::string> headings;  // C3, D3, E3
    int32_t symbolCharacter;            // of C3, 0: none
  };
  const Case cases[] = {
      {"BLAN;:TRAC2:MODE VIEW;:TRAC3:MODE BLAN", "DBUV", {"TRACE2"}, {"Trace2 (dBmV)", "", ""}, 11},
      {"MINH;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN", "UVM", {"TRACE1"}, {"Trace1 (mV/m)", "", ""}, 9},
      {"WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE VIEW", "DBUAM", {"TRACE1", "TRACE2", "TRACE3"},
       {"Trace1 (dBmA/m)", "Trace2 (dBmA/m)", "Trace3 (dBmA/m)"}, 11},
      {"WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN", "PT", {"TRACE1"}, {"Trace1 (PTesla)", "", ""}, 0},
      {"BLAN;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN", "W", {}, {"", "", ""}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modes);
    instrument(std::string(":SENS:SWE:POIN 5;:UNIT:POW ") + c.unit + ";:TRAC1:MODE " + c.modes);
    next();
    std::vector<std::string> reads;
    for (const std::string& command : server.commandLog())
      if (command.starts_with(":TRAC:DATA? ")) reads.push_back(command.substr(12));
    EXPECT_THAT(reads, ElementsAreArray(c.reads));
    for (size_t i = 0; i < 3; ++i) {
      const Variant heading = c.headings[i].empty() ? Variant() : Variant(c.headings[i]);
      EXPECT_EQ(cell(std::string(1, char('C' + i)) + "3"), heading) << "column " << i + 3;
    }
    for (int32_t i = 1; i <= static_cast<int32_t>(c.headings[0].size()); ++i) {
      const office::excel::FontSpec font = styleAt("C3").fontAt(i);
      EXPECT_EQ(font.name, i == c.symbolCharacter ? "Symbol" : "Calibri") << "character " << i;
      EXPECT_FALSE(font.bold || font.italic) << "character " << i;
    }
    // The annotation column sits right of the last trace column, without gaps.
    const int32_t annotationColumn = 3 + static_cast<int32_t>(c.reads.size());
    EXPECT_NEAR(sheet().columnWidth(annotationColumn), 3 * kStandardColumnWidth, kPixel);
  }
}

TEST_F(TraceTransfer, AnnotationsFollowTheTracesThreeRowsEach) {
  instrument(":SENS:FREQ:STAR 10 MHZ;:SENS:FREQ:STOP 30 MHZ;:SENS:BAND:RES 30 KHZ;:SENS:BAND:VID 10 KHZ;"
             ":SENS:POW:RF:ATT 20;:DISP:WIND:TRAC:Y:RLEV -10;:SENS:SWE:TIME 50 MS;:SENS:SWE:POIN 7;"
             ":DISP:WIND:TRAC:Y:SPAC LOG;:UNIT:POW DBM;:TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN");
  // Names are matched exactly: those that match no item are skipped without a gap.
  annotate({"Instrument Serial Number", "Sweep Number Of Points", "Start Frequency", "Stop Frequency",
            "Center Frequency", "span frequency", "Resolution BW", "Video BW", "Sweep Time", "Scale Type", "Span",
            "Date/Time", "Instrument Model", "Reference Level", "Sweep Time ", "Attenuation"});
  run();
  // Label, value and the value's format of each item, three rows apart; the serial number is
  // text that Excel takes for a number.
  std::string written;
  for (int row = 3; row < 3 + 3 * 13; row += 3) {
    const std::string value = "D" + std::to_string(row + 1);
    written += fmt::format("{}{}: {} ({})", written.empty() ? "" : ", ", cell("D" + std::to_string(row)).asString(),
                           automation::CStr(cell(value)), styleAt(value).numberFormat);
    EXPECT_TRUE(cell("D" + std::to_string(row + 2)).isEmpty()) << row + 2;
  }
  EXPECT_EQ(written,
            fmt::format(
            "Instrument Serial Number: 100245 (General), Sweep Number Of Points: 7 (General), "
            "Start Frequency (Hz): 10000000 (0.00E+00), Stop Frequency (Hz): 30000000 (0.00E+00), "
            "Center Frequency (Hz): 20000000 (0.00E+00), "
            "Resolution BW (Hz): 30000 (0.00E+00), Video BW (Hz): 10000 (0.00E+00), "
            "Sweep Time (seconds): 0.05 (0.00E+00), Scale Type: LOG (General), "
            "Date/Time: {} (m/d/yyyy h:mm), Instrument Model: ZEL-R 3036 (General), "
            "Reference Level (dBm): -10 (0.00E+00), Attenuation (dB): 20 (0.00E+00)",
            automation::CStr(transfer->instrumentDateTime())));

  // Without engineering units no value gets a format; in dBuV the m of "dBmV" is a Symbol-font
  // character.
  annotate({"Reference Level"});
  instrument(":UNIT:POW DBUV");
  transfer->m_includeEngUnits = false;
  fakeClock.advance(std::chrono::seconds(1));
  run();
  EXPECT_EQ(cell("D3"), Variant("Reference Level (dBmV)"));
  EXPECT_NEAR(number("D4"), -10 + 106.99, 0.01);
  for (const char* address : {"B4", "C4", "D4"}) EXPECT_EQ(styleAt(address).numberFormat, "General") << address;
  for (int32_t i = 1; i <= 22; ++i) EXPECT_EQ(styleAt("D3").fontAt(i).name, i == 20 ? "Symbol" : "Calibri") << i;
}

TEST_F(TraceTransfer, AFailureEndsTheTransferAndKeepsWhatWasWritten) {
  swept();
  // Trace replies are cut, the short ones pass. The time-out stays as it was during the reads.
  for (const auto& [before, during] : {std::pair{2000, 2250}, std::pair{10000, 10000}}) {
    SCOPED_TRACE(before);
    zel->Device()->setIoTimeout(before);
    server.setFaults(sim::Faults{.closeAfterBytes = 20});
    EXPECT_NE(errorOf([&] { next(); }), 0);
    server.setFaults({});
    EXPECT_EQ(zel->Device()->IoTimeout(), during);
    EXPECT_EQ(number("B14"), 200e6);
    EXPECT_TRUE(cell("C3").isEmpty());
    EXPECT_NEAR(sheet().columnWidth(3), kStandardColumnWidth, kPixel) << "the trace columns were not reached";
  }

  // Integer arguments above 32767 overflow: N itself, the first data row, the last one.
  for (const auto& [startCell, points] : {std::pair{"B3", 40001}, std::pair{"B32767", 1}, std::pair{"B32000", 1000}}) {
    SCOPED_TRACE(startCell);
    instrument(":SENS:SWE:POIN " + std::to_string(points));
    transfer->setStartCell(startCell);
    EXPECT_EQ(errorOf([&] { next(); }), automation::vbErrOverflow);
    EXPECT_EQ(cell(startCell), Variant("Frequency (Hz)"));
    EXPECT_TRUE(transfer->dataSheet()->Cells(Variant(transfer->startRow() + 1), Variant(2))->Value().isEmpty());
  }

  // Each transfer adds its sheet in front; a second one within the same second fails at naming
  // and leaves its sheet unnamed and empty.
  const size_t sheets = book()->sheets().size();
  EXPECT_EQ(book()->sheets()[0]->sheetName(), "Dec 4, 2026 8h 16m 23s");
  EXPECT_EQ(book()->sheets()[1]->sheetName(), "Dec 4, 2026 8h 16m 22s");
  EXPECT_EQ(errorOf([&] { run(); }), 1004);
  ASSERT_EQ(book()->sheets().size(), sheets + 1);
  EXPECT_EQ(sheet().Index(), 1);
  EXPECT_EQ(sheet().Name().rfind("Sheet", 0), 0u) << sheet().Name();
  EXPECT_TRUE(cell("B3").isEmpty());
}

}  // namespace
}  // namespace zel::test
