// The header annotations a transfer writes right of its trace columns: labels with their
// suffixes, values read now or captured at the start, formats, the Symbol-font character, and
// names that match no item.
#include <gmock/gmock.h>

#include "TransferTesting.h"
#include "office/excel/Constants.h"

namespace zel::test {
namespace {

using automation::Variant;

class Annotations : public TransferTest {
 protected:
  Annotations() {
    instrument(":SENS:FREQ:STAR 10 MHZ;:SENS:FREQ:STOP 30 MHZ;:SENS:BAND:RES 30 KHZ;:SENS:BAND:VID 10 KHZ;"
               ":SENS:POW:RF:ATT 20;:DISP:WIND:TRAC:Y:RLEV -10;:SENS:SWE:TIME 50 MS;:SENS:SWE:POIN 7;"
               ":DISP:WIND:TRAC:Y:SPAC LOG;:TRAC1:MODE WRIT;:TRAC2:MODE BLAN;:TRAC3:MODE BLAN");
  }
};

TEST_F(Annotations, AttenuationAndReferenceLevelInDBuVFillD3ToD8) {
  instrument(":UNIT:POW DBUV");
  annotate({"Attenuation", "Reference Level"});
  run();

  EXPECT_EQ(cell("D3"), Variant("Attenuation (dB)"));
  EXPECT_EQ(cell("D6"), Variant("Reference Level (dBmV)"));
  const double levelDbuv = zel->ReferenceLevel();
  EXPECT_EQ(cell("D7"), Variant(levelDbuv));
  EXPECT_NEAR(levelDbuv, -10 + 106.99, 0.01) << "the level in the amplitude unit";

  // Only the m of "dBmV", the 20th character, is drawn in the Symbol font, upright.
  const office::excel::CellStyle& label = styleAt("D6");
  for (int32_t i = 1; i <= 22; ++i) {
    EXPECT_EQ(label.fontAt(i).name, i == 20 ? "Symbol" : "Calibri") << "character " << i;
    EXPECT_FALSE(label.fontAt(i).bold) << "character " << i;
  }
  // Label and value cells take the centred alignment of the whole column.
  for (const char* address : {"D3", "D4", "D6", "D7"})
    EXPECT_EQ(styleAt(address).horizontalAlignment, office::excel::xlCenter) << address;
  EXPECT_EQ(transfer->startRow(), 9);
  EXPECT_EQ(transfer->startColumn(), 4);
}

TEST_F(Annotations, EveryItemWritesItsLabelValueAndFormatInCollectionOrder) {
  instrument(":UNIT:POW DBM");
  annotate({"Instrument Serial Number", "Sweep Number Of Points", "Start Frequency", "Stop Frequency",
            "Center Frequency", "Span Frequency", "Resolution BW", "Video BW", "Sweep Time", "Scale Type",
            "Date/Time", "Instrument Model", "Reference Level", "Attenuation"});
  run();

  struct Row {
    const char* label;
    Variant value;
    const char* format;
  };
  const Row rows[] = {
      {"Instrument Serial Number", Variant(100245.0), "General"},  // Excel takes it as a number
      {"Sweep Number Of Points", Variant(7.0), "General"},
      {"Start Frequency (Hz)", Variant(10e6), "0.00E+00"},
      {"Stop Frequency (Hz)", Variant(30e6), "0.00E+00"},
      {"Center Frequency (Hz)", Variant(20e6), "0.00E+00"},
      {"Span Frequency (Hz)", Variant(20e6), "0.00E+00"},
      {"Resolution BW (Hz)", Variant(30e3), "0.00E+00"},
      {"Video BW (Hz)", Variant(10e3), "0.00E+00"},
      {"Sweep Time (seconds)", Variant(0.05), "0.00E+00"},
      {"Scale Type", Variant("LOG"), "General"},
      {"Date/Time", transfer->instrumentDateTime(), nullptr},  // checked below
      {"Instrument Model", Variant("ZEL-R 3036"), "General"},
      {"Reference Level (dBm)", Variant(-10.0), "0.00E+00"},
      {"Attenuation (dB)", Variant(20.0), "0.00E+00"},
  };
  int row = 3;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const std::string labelCell = "D" + std::to_string(row), valueCell = "D" + std::to_string(row + 1);
    EXPECT_EQ(cell(labelCell), Variant(r.label));
    if (r.format) {
      EXPECT_EQ(cell(valueCell), r.value);
      EXPECT_EQ(styleAt(valueCell).numberFormat, r.format);
    }
    EXPECT_TRUE(cell("D" + std::to_string(row + 2)).isEmpty());
    EXPECT_FALSE(styleAt(labelCell).hasCharacterFonts());
    row += 3;
  }
  // The analyzer's own date and time, as the server gave it: a date, not a number with a format
  // of ours.
  const Variant when = cell("D34");
  EXPECT_EQ(when.varType(), automation::vbDate);
  EXPECT_EQ(when, transfer->instrumentDateTime());
  EXPECT_NE(styleAt("D34").numberFormat, "0.00E+00");
  EXPECT_EQ(transfer->startRow(), 3 + 3 * 14);
}

TEST_F(Annotations, NamesThatMatchNoItemAreSkippedWithoutAGap) {
  annotate({"attenuation", "Sweep Time ", "Sweep Time", "Reference level", "Video BW", "Span"});
  run();
  EXPECT_EQ(cell("D3"), Variant("Sweep Time (seconds)"));
  EXPECT_EQ(cell("D6"), Variant("Video BW (Hz)"));
  for (const char* address : {"D5", "D8", "D9", "D10"}) EXPECT_TRUE(cell(address).isEmpty()) << address;
  EXPECT_EQ(transfer->startRow(), 9);
}

TEST_F(Annotations, AnEmptyListStillWidensAndCentresTheColumn) {
  annotate({});
  run();
  EXPECT_TRUE(cell("D3").isEmpty());
  EXPECT_NEAR(sheet().columnWidth(4), 3 * office::excel::kStandardColumnWidth, 1.0 / 7);
  EXPECT_EQ(styleAt("D3").horizontalAlignment, office::excel::xlCenter);
  EXPECT_EQ(transfer->startRow(), 3);
}

TEST_F(Annotations, AFailingReadEndsTheTransferKeepingTheItemsBefore) {
  // One point, so that every reply but the identity's is short; the identity is cut off.
  instrument(":SENS:SWE:POIN 1");
  annotate({"Sweep Time", "Attenuation", "Instrument Model", "Video BW"});
  server.setFaults(sim::Faults{.closeAfterBytes = 20});
  const int32_t error = errorOf([&] { run(); });
  server.setFaults({});
  EXPECT_NE(error, 0);
  EXPECT_EQ(cell("D3"), Variant("Sweep Time (seconds)"));
  EXPECT_EQ(cell("D6"), Variant("Attenuation (dB)"));
  EXPECT_TRUE(cell("D9").isEmpty());
  EXPECT_TRUE(cell("D12").isEmpty());
  EXPECT_EQ(transfer->startRow(), 9);
  EXPECT_EQ(zel->Device()->IoTimeout(), kTimeoutMs) << "the reads were over, so the time-out was back";
}

}  // namespace
}  // namespace zel::test
