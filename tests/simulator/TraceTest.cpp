// Trace data: what the spectrum looks like, how the trace modes combine sweeps, and how the
// values travel in ASCII and binary.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>

#include "simulator/Analyzer.h"
#include "simulator/TraceEngine.h"
#include "simulator/Units.h"

namespace sim {
namespace {

std::vector<double> parseAscii(const std::string& reply) {
  EXPECT_EQ(reply.back(), '\n');
  std::vector<double> values;
  const char* p = reply.c_str();
  while (*p && *p != '\n') {
    char* end = nullptr;
    values.push_back(std::strtod(p, &end));
    EXPECT_NE(end, p);
    p = *end == ',' ? end + 1 : end;
  }
  return values;
}

std::string blockPayload(const std::string& reply) {
  EXPECT_EQ(reply[0], '#');
  const std::size_t digits = static_cast<std::size_t>(reply[1] - '0');
  const std::size_t length = std::stoul(reply.substr(2, digits));
  EXPECT_EQ(reply.size(), 2 + digits + length + 1);
  EXPECT_EQ(reply.back(), '\n');
  return reply.substr(2 + digits, length);
}

std::vector<double> parseReal(const std::string& payload, std::size_t width, bool bigEndian) {
  std::vector<double> values;
  for (std::size_t i = 0; i + width <= payload.size(); i += width) {
    uint64_t bits = 0;
    for (std::size_t k = 0; k < width; ++k) {
      const auto byte = static_cast<unsigned char>(payload[i + (bigEndian ? k : width - 1 - k)]);
      bits = (bits << 8) | byte;
    }
    values.push_back(width == 4 ? std::bit_cast<float>(static_cast<uint32_t>(bits)) : std::bit_cast<double>(bits));
  }
  return values;
}

double median(std::vector<double> v) {
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

TEST(Traces, AsciiAndBinaryFormsCarryTheSameValues) {
  for (const char* unit : {"DBM", "V"}) {
    Analyzer a;
    a.execute(std::string(":INIT:CONT 0;:SWE:POIN 501;:UNIT:POW ") + unit + ";:INIT");
    const auto ascii = parseAscii(a.execute(":TRAC:DATA? TRACE1"));
    a.execute(":FORM REAL,32;:FORM:BORD NORM");
    const auto norm = parseReal(blockPayload(a.execute(":TRAC? TRACE1")), 4, true);
    a.execute(":FORM:BORD SWAP");
    const auto swap = parseReal(blockPayload(a.execute(":TRAC1? ")), 4, false);
    a.execute(":FORM REAL,64");
    const auto real64 = parseReal(blockPayload(a.execute(":TRAC:DATA? TRACE1")), 8, false);
    ASSERT_EQ(ascii.size(), 501u) << unit;
    ASSERT_EQ(norm.size(), 501u);
    ASSERT_EQ(swap.size(), 501u);
    ASSERT_EQ(real64.size(), 501u);
    EXPECT_EQ(norm, swap) << unit;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
      EXPECT_NEAR(norm[i], real64[i], std::abs(real64[i]) * 1e-6) << unit << " point " << i;
      // ASCII keeps two decimals of a dB value, seven digits of a linear one.
      EXPECT_NEAR(ascii[i], real64[i], std::string(unit) == "V" ? std::abs(real64[i]) * 1e-6 : 0.005)
          << unit << " point " << i;
    }
  }
}

TEST(Traces, ValuesFollowTheAmplitudeUnit) {
  Analyzer a;
  a.execute(":INIT:CONT 0;:SWE:POIN 201;:INIT;:FORM REAL,64;:FORM:BORD SWAP");
  const std::vector<float> dbm = a.traceDbm(1);
  for (Unit u : {Unit::DBM, Unit::DBMV, Unit::W, Unit::DBUAM, Unit::GAUS}) {
    a.execute(std::string(":UNIT:POW ") + std::string(code(u)));
    const auto values = parseReal(blockPayload(a.execute(":TRAC? TRACE1")), 8, false);
    ASSERT_EQ(values.size(), dbm.size());
    for (std::size_t i = 0; i < values.size(); i += 20)
      EXPECT_NEAR(toDbm(values[i], u), dbm[i], 1e-4) << code(u) << " point " << i;
  }
}

TEST(Traces, NoiseFloorFollowsBandwidthAndAttenuationAndCarriersStandOut) {
  auto floorOf = [](const char* setup) {
    Analyzer a;
    a.execute(std::string(":INIT:CONT 0;:SWE:POIN 2001;:FREQ:STAR 2.6e9;STOP 3.4e9;") + setup + ";:INIT");
    const auto& t = a.traceDbm(1);
    return median(std::vector<double>(t.begin(), t.end()));
  };
  const double wide = floorOf(":BAND 3MHz");
  const double narrow = floorOf(":BAND 30kHz");
  const double attenuated = floorOf(":BAND 3MHz;:POW:ATT 30");
  // kTB + noise figure at 3 MHz, at ~3 GHz: -174 + 64.8 + 24 + 2.4 = -82.8 dBm (mean).
  EXPECT_NEAR(wide, -82.8, 3.0);
  EXPECT_NEAR(wide - narrow, 20.0, 1.5);
  EXPECT_NEAR(attenuated - wide, 20.0, 1.5);

  Analyzer a;
  a.execute(":INIT:CONT 0;:SWE:POIN 10001;:INIT");
  const auto& t = a.traceDbm(1);
  const double step = 3.6e9 / 10000;
  for (const Carrier& c : TraceEngine::carriers()) {
    const auto i = static_cast<std::size_t>(std::lround(c.frequencyHz / step));
    EXPECT_NEAR(t[i], c.levelDbm, 1.0) << c.frequencyHz;
  }
}

TEST(Traces, ZeroSpanShowsTheLevelAtTheCentreOverTime) {
  Analyzer a;
  a.execute(":INIT:CONT 0;:FREQ:CENT 2.45e9;SPAN 0;:SWE:POIN 101;:INIT");
  const auto& t = a.traceDbm(1);
  ASSERT_EQ(t.size(), 101u);
  for (float v : t) EXPECT_NEAR(v, -35.0, 0.5);
}

TEST(Traces, HoldModesCombineSweepsAndViewFreezes) {
  Analyzer a;
  a.execute(":INIT:CONT 0;:SWE:POIN 1001;:TRAC1:MODE WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE MINH;:INIT");
  std::vector<float> firstWrite = a.traceDbm(1);
  for (int i = 0; i < 5; ++i) a.execute(":INIT:IMM;*OPC?");
  const auto& write = a.traceDbm(1);
  const auto& max = a.traceDbm(2);
  const auto& min = a.traceDbm(3);
  EXPECT_NE(write, firstWrite);  // write mode takes each new sweep
  std::size_t strictlyAbove = 0;
  for (std::size_t i = 0; i < write.size(); ++i) {
    EXPECT_GE(max[i], write[i]);
    EXPECT_LE(min[i], write[i]);
    EXPECT_GE(max[i], firstWrite[i]);
    EXPECT_LE(min[i], firstWrite[i]);
    strictlyAbove += max[i] > min[i];
  }
  EXPECT_GT(strictlyAbove, write.size() * 9 / 10);  // six sweeps of noise really differ

  // VIEW keeps the trace as it was; BLAN still answers with its last data.
  a.execute(":TRAC2:MODE VIEW;:TRAC3:MODE BLAN");
  const std::vector<float> frozenMax = a.traceDbm(2), frozenMin = a.traceDbm(3);
  for (int i = 0; i < 3; ++i) a.execute(":INIT");
  EXPECT_EQ(a.traceDbm(2), frozenMax);
  EXPECT_EQ(a.traceDbm(3), frozenMin);
  EXPECT_EQ(parseAscii(a.execute(":TRAC? TRACE3")).size(), 1001u);

  // Going back to max hold starts a new hold from the next sweep.
  a.execute(":TRAC2:MODE MAXH;:INIT");
  EXPECT_EQ(a.traceDbm(2), a.traceDbm(1));
}

TEST(Traces, ContinuousSweepGivesEachReadOfATraceANewSweep) {
  Analyzer a;
  a.execute(":SWE:POIN 101;:TRAC2:MODE WRIT;:TRAC3:MODE WRIT");
  const std::string t1 = a.execute(":TRAC? TRACE1");
  const std::string t2 = a.execute(":TRAC? TRACE2");
  const std::string t3 = a.execute(":TRAC? TRACE3");
  // Three traces read in a row come from one sweep...
  EXPECT_EQ(t1, t2);
  EXPECT_EQ(t2, t3);
  EXPECT_EQ(a.sweeps(), 1u);
  // ...and reading one again shows the next sweep.
  EXPECT_NE(a.execute(":TRAC? TRACE1"), t1);
  EXPECT_EQ(a.sweeps(), 2u);
  // In single sweep the data only changes with :INIT.
  a.execute(":INIT:CONT 0");
  const std::string held = a.execute(":TRAC? TRACE1");
  EXPECT_EQ(a.execute(":TRAC? TRACE1"), held);
  a.execute(":INIT");
  EXPECT_NE(a.execute(":TRAC? TRACE1"), held);
}

TEST(Traces, TheSeedMakesDataReproducible) {
  auto sweepWith = [](uint32_t seed) {
    Analyzer a(seed);
    a.execute(":INIT:CONT 0;:SWE:POIN 1001;:INIT;:INIT");
    return a.execute(":TRAC? TRACE1");
  };
  EXPECT_EQ(sweepWith(7), sweepWith(7));
  EXPECT_NE(sweepWith(7), sweepWith(8));
  // *RST starts the noise sequence over.
  Analyzer a(7);
  a.execute(":INIT:CONT 0;:SWE:POIN 1001;:INIT;:INIT");
  a.execute("*RST;:INIT:CONT 0;:SWE:POIN 1001;:INIT;:INIT");
  EXPECT_EQ(a.execute(":TRAC? TRACE1"), sweepWith(7));
}

TEST(Traces, PointCountChangesResizeEveryTrace) {
  Analyzer a;
  a.execute(":INIT:CONT 0;:TRAC2:MODE VIEW;:SWE:POIN 11;:INIT");
  a.execute(":SWE:POIN 100001");
  for (const char* t : {"TRACE1", "TRACE2", "TRACE3"})
    EXPECT_EQ(parseAscii(a.execute(std::string(":TRAC? ") + t)).size(), 100001u) << t;
  a.execute(":SWE:POIN 1");
  EXPECT_EQ(parseAscii(a.execute(":TRAC? TRACE2")).size(), 1u);
  a.execute(":TRAC? TRACE4");
  EXPECT_EQ(a.execute(":SYST:ERR?"), "-224,\"Illegal parameter value\"\n");
}

}  // namespace
}  // namespace sim
