// How the analyzer reads program messages: header forms, paths, chains, parameters, and how
// the byte stream is cut into messages.
#include <gtest/gtest.h>

#include "simulator/Analyzer.h"
#include "simulator/LineFramer.h"

namespace sim {
namespace {

std::string nextError(Analyzer& a) { return a.execute(":SYST:ERR?"); }

TEST(ScpiParsing, LongShortAndMixedCaseHeadersNameTheSameSetting) {
  struct Case {
    const char* set;
    const char* query;
    const char* expected;
  };
  const Case cases[] = {
      {":SENSe:FREQuency:STARt 1000", ":FREQ:STAR?", "1000\n"},
      {":sens:freq:star 2000", ":SENSE:FREQUENCY:START?", "2000\n"},
      {"freq:star 3000", ":sense:Freq:Star?", "3000\n"},                  // optional [SENSe:]
      {":INIT:CONT 0", ":INITiate:CONTinuous?", "0\n"},
      {":DISP:WIND:TRAC:Y:SCAL:RLEV -20", ":DISP:TRAC:Y:RLEV?", "-20\n"},  // optional WINDow, SCALe
      {":SENS:POW:RF:ATT 20", ":POW:ATT?", "20\n"},                       // optional RF
      {":BWID 1000", ":SENS:BAND:RES?", "1000\n"},                        // BWIDth = BANDwidth
      {":TRACE2:MODE MAXHOLD", ":TRAC2:MODE?", "MAXH\n"},
      {":DISP:WIND2:TRAC:MODE MINH", ":TRACE1:MODE?", "MINH\n"},     // the trace suffix counts
  };
  for (const Case& c : cases) {
    Analyzer a;
    EXPECT_EQ(a.execute(c.set), "") << c.set;
    EXPECT_EQ(a.execute(c.query), c.expected) << c.set;
    EXPECT_EQ(nextError(a), "0,\"No error\"\n") << c.set;
  }
}

TEST(ScpiParsing, HeadersThatAreNeitherFormAreUndefined) {
  for (const char* bad : {":FREQU:STAR 1", ":FREQUENCYS:STAR 1", ":SENS:SENS:FREQ:STAR 1", ":STAR 1",
                          ":FREQ:STAR:", "*IDN", ":TRAC4:MODE WRIT"}) {
    Analyzer a;
    a.execute(bad);
    const std::string error = nextError(a);
    EXPECT_TRUE(error.starts_with("-113,") || error.starts_with("-102,") || error.starts_with("-114,"))
        << bad << " gave " << error;
  }
}

TEST(ScpiParsing, ChainedUnitsKeepThePathAndAnswerQueriesInOrder) {
  Analyzer a;
  // STOP and the queries resolve below :SENS:FREQ, the path the first unit left.
  EXPECT_EQ(a.execute(":SENS:FREQ:STAR 1MHz;STOP 2 MHZ;STAR?;STOP?;*IDN?;CENT?"),
            "1000000\n2000000\n" + a.execute("*IDN?") + "1500000\n");
  // A leading colon goes back to the root; common commands leave the path alone.
  EXPECT_EQ(a.execute(":FREQ:SPAN 0;*CLS;SPAN?;:SWE:POIN 11;POIN?"), "0\n11\n");
  // A unit that does not exist below the path is taken from the root.
  EXPECT_EQ(a.execute(":INIT:CONT 0;FREQ:STAR?"), "1500000\n");
  EXPECT_EQ(nextError(a), "0,\"No error\"\n");
  // An error in one unit does not stop the others, and a failed query answers nothing.
  EXPECT_EQ(a.execute("*IDN?;:BOGUS?;:SWE:POIN?"), a.execute("*IDN?") + "11\n");
  EXPECT_EQ(nextError(a), "-113,\"Undefined header\"\n");
}

TEST(ScpiParsing, NumericParametersTakeSuffixesAndKeywords) {
  Analyzer a;
  a.execute(":FREQ:STOP 2.5 GHz;:FREQ:STAR 100 kHz;:BAND:VID 3E3;:SWE:TIME 20 ms");
  EXPECT_EQ(a.execute(":FREQ:STAR?;STOP?;:BAND:VID?;:SWE:TIME?"), "100000\n2500000000\n3000\n0.02\n");
  a.execute(":SWE:POIN MAX;:POW:ATT MIN");
  EXPECT_EQ(a.execute(":SWE:POIN?;:POW:ATT?"), "100001\n0\n");
  EXPECT_EQ(nextError(a), "0,\"No error\"\n");

  struct Bad {
    const char* command;
    const char* error;
  };
  const Bad bad[] = {
      {":FREQ:STAR 1 SEC", "-131,"},     {":FREQ:STAR ABC", "-104,"},    {":FREQ:STAR", "-109,"},
      {":FREQ:STAR 1,2", "-108,"},       {":SWE:POIN 0", "-222,"},       {":SWE:POIN 100002", "-222,"},
      {":FREQ:STAR 0x10", "-104,"},      {":FREQ:STAR -1", "-222,"},     {":UNIT:POW FURLONG", "-224,"},
      {":INIT:CONT MAYBE", "-224,"},     {"*IDN? 1", "-108,"},          {":UNIT:POW 5", "-104,"},
  };
  for (const Bad& b : bad) {
    Analyzer fresh;
    const Settings before = fresh.settings();
    fresh.execute(b.command);
    EXPECT_TRUE(nextError(fresh).starts_with(b.error)) << b.command;
    EXPECT_EQ(fresh.settings(), before) << b.command;
  }
}

TEST(ScpiParsing, BlocksAndStringsMayHoldSeparators) {
  Analyzer a;
  const std::string image = a.execute(":SYST:SET?");
  ASSERT_FALSE(image.empty());
  a.execute(":SWE:POIN 5");
  // The image holds line feeds and may hold ';' bytes; the block header says where it ends.
  const std::string block = image.substr(0, image.size() - 1);
  EXPECT_EQ(a.execute(":SYST:SET " + block + ";:SWE:POIN?"), "1001\n");
  // Blank bytes at the end of a block are part of it.
  a.execute(":SYST:SET #3100" + std::string(100, ' '));
  EXPECT_EQ(nextError(a), "-224,\"Illegal parameter value\"\n");
  EXPECT_EQ(nextError(a), "0,\"No error\"\n");
}

TEST(LineFramer, CutsAtLineFeedsButNotInsideBlocksOrQuotes) {
  LineFramer framer;
  std::vector<LineFramer::Message> out;
  framer.feed("*IDN?\r\n:SYST:SET #15a\nb;c", out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].text, "*IDN?");
  framer.feed("d;:X \"e\nf\"\n#H1F\n", out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[1].text, ":SYST:SET #15a\nb;cd;:X \"e\nf\"");
  EXPECT_EQ(out[2].text, "#H1F");
  // A CR that ends a block is data; only a CR of the terminator goes.
  framer.feed(":SYST:SET #12a\r\n:SYST:SET #12a\r\r\n", out);
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[3].text, ":SYST:SET #12a\r");
  EXPECT_EQ(out[4].text, ":SYST:SET #12a\r");
}

TEST(LineFramer, DropsOverlongLinesButNotLargeBlocks) {
  LineFramer framer(64, 1000);
  std::vector<LineFramer::Message> out;
  framer.feed(std::string(100, 'A'), out);
  framer.feed("A\n*OPC?\n", out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_TRUE(out[0].overflow);
  EXPECT_EQ(out[1].text, "*OPC?");

  // A 500-byte block on a short line is fine; a block over the block limit is skipped whole,
  // line feeds in it included.
  out.clear();
  framer.feed(":SYST:SET #3500" + std::string(500, '\n') + "\n", out);
  framer.feed(":SYST:SET #42000" + std::string(2000, '\n') + "\n*CLS\n", out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].text.size(), 15u + 500u);
  EXPECT_TRUE(out[1].overflow);
  EXPECT_EQ(out[2].text, "*CLS");
}

}  // namespace
}  // namespace sim
