// Settings as the client sets and reads them: the frequency axis, units, modes, and the settings
// image and *LRN? that carry all of them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "simulator/Analyzer.h"
#include "simulator/SettingsImage.h"

namespace sim {
namespace {

double number(Analyzer& a, const std::string& query) {
  const std::string reply = a.execute(query);
  char* end = nullptr;
  const double v = std::strtod(reply.c_str(), &end);
  EXPECT_EQ(std::string(end), "\n") << query << " answered " << reply;
  return v;
}

TEST(FrequencyAxis, StartStopCentreAndSpanStayConsistent) {
  struct Case {
    const char* commands;
    double start, stop;
  };
  const Case cases[] = {
      {":FREQ:STAR 1e9;STOP 2e9", 1e9, 2e9},
      {":FREQ:CENT 1e9;SPAN 200e6", 0.9e9, 1.1e9},
      {":FREQ:SPAN 200e6;CENT 1e9", 0.9e9, 1.1e9},
      {":FREQ:STAR 1e9;STOP 2e9;STAR 3e9", 3e9, 3e9},  // start above stop drags stop along
      {":FREQ:STAR 1e9;STOP 2e9;STOP 0.5e9", 0.5e9, 0.5e9},
      {":FREQ:CENT 3.5e9", 3.4e9, 3.6e9},              // the span shrinks at the top of the range
      {":FREQ:STAR 0;STOP 1e9;:FREQ:SPAN 3e9", 0, 3e9},  // the centre moves to fit the span
      {":FREQ:CENT 100e6;SPAN 0", 100e6, 100e6},     // zero span
  };
  for (const Case& c : cases) {
    Analyzer a;
    a.execute(c.commands);
    EXPECT_EQ(a.execute(":SYST:ERR?"), "0,\"No error\"\n") << c.commands;
    const double start = number(a, ":FREQ:STAR?"), stop = number(a, ":FREQ:STOP?");
    EXPECT_DOUBLE_EQ(start, c.start) << c.commands;
    EXPECT_DOUBLE_EQ(stop, c.stop) << c.commands;
    EXPECT_DOUBLE_EQ(number(a, ":FREQ:CENT?"), (start + stop) / 2) << c.commands;
    EXPECT_DOUBLE_EQ(number(a, ":FREQ:SPAN?"), stop - start) << c.commands;
  }
}

TEST(FrequencyAxis, ValuesOutsideTheRangeAreRefusedAndChangeNothing) {
  Analyzer a;
  a.execute(":FREQ:STOP 4e9;:FREQ:CENT -1;:FREQ:SPAN 3.7e9");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(a.execute(":SYST:ERR?"), "-222,\"Data out of range\"\n");
  EXPECT_EQ(a.execute(":FREQ:STAR?;STOP?"), "0\n3600000000\n");
}

TEST(AmplitudeUnits, EveryUnitConvertsTheReferenceLevelBothWays) {
  // Reference level -20 dBm in each unit: the answers the client converts, and the codes it
  // maps to labels.
  struct Case {
    const char* code;
    double expected;
  };
  const double dbuv = -20 + 106.9897;
  const double dbuvm = dbuv + 15.0;  // antenna factor
  const double dbuam = dbuvm - 51.5266;
  const double dbpt = dbuam + 1.9842;
  const Case cases[] = {
      {"DBM", -20},
      {"DBMV", dbuv - 60},
      {"DBUV", dbuv},
      {"V", std::pow(10, (dbuv - 120) / 20)},
      {"W", 1e-5},
      {"DBUVM", dbuvm},
      {"UVM", std::pow(10, dbuvm / 20)},
      {"DBUAM", dbuam},
      {"UAM", std::pow(10, dbuam / 20)},
      {"DBPT", dbpt},
      {"PT", std::pow(10, dbpt / 20)},
      {"DBG", dbpt - 160},
      {"GAUS", std::pow(10, (dbpt - 160) / 20)},
  };
  for (const Case& c : cases) {
    Analyzer a;
    a.execute(":DISP:WIND:TRAC:Y:RLEV -20");
    a.execute(std::string(":UNIT:POW ") + c.code);
    EXPECT_EQ(a.execute(":UNIT:POW?"), std::string(c.code) + "\n");
    const double level = number(a, ":DISP:WIND:TRAC:Y:RLEV?");
    EXPECT_NEAR(level, c.expected, std::abs(c.expected) * 1e-4 + 1e-3) << c.code;
    // Setting the level in this unit lands on the same power.
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", level);
    a.execute(std::string(":DISP:WIND:TRAC:Y:RLEV ") + text);
    EXPECT_NEAR(a.settings().refLevelDbm, -20, 1e-4) << c.code;
  }
}

TEST(AmplitudeUnits, LinearUnitsRefuseLevelsWithoutPower) {
  Analyzer a;
  a.execute(":UNIT:POW W;:DISP:WIND:TRAC:Y:RLEV 0;:DISP:WIND:TRAC:Y:RLEV 1e6");
  EXPECT_EQ(a.execute(":SYST:ERR?;:SYST:ERR?"), "-222,\"Data out of range\"\n-222,\"Data out of range\"\n");
  EXPECT_EQ(a.settings().refLevelDbm, 0);
}

TEST(Modes, TraceSweepMeasurementScaleAndFormatReadBackAsCodes) {
  Analyzer a;
  EXPECT_EQ(a.execute(":TRAC1:MODE?;:TRAC2:MODE?;:TRAC3:MODE?"), "WRIT\nBLAN\nBLAN\n");
  EXPECT_EQ(a.execute(":CONF?;:INIT:CONT?;:DISP:WIND:TRAC:Y:SPAC?;:FORM?;:FORM:BORD?"),
            "SAN\n1\nLOG\nASC,8\nNORM\n");
  a.execute(":TRAC2:MODE MINH;:DISP:WIND:TRAC3:MODE view;:TRAC1:MODE BLANK;:INIT:CONT OFF");
  a.execute(":DISP:WIND:TRAC:Y:SPAC LIN;:FORM REAL,32;:FORM:BORD SWAP");
  EXPECT_EQ(a.execute(":TRAC1:MODE?;:TRAC2:MODE?;:TRAC3:MODE?;:INIT:CONT?"), "BLAN\nMINH\nVIEW\n0\n");
  EXPECT_EQ(a.execute(":DISP:WIND:TRAC:Y:SPAC?;:FORM?;:FORM:BORD?"), "LIN\nREAL,32\nSWAP\n");
  for (const char* m : {"CHP", "ACP", "NONE", "SAN"}) {
    a.execute(std::string(":CONF:") + m);
    EXPECT_EQ(a.execute(":CONF?"), std::string(m) + "\n");
  }
  a.execute("*RST");
  EXPECT_EQ(a.settings(), Settings{});
}

// Settings that differ from the defaults in every field.
const char* kEverySetting =
    ":FREQ:STAR 10 MHz;STOP 20 MHz;:BAND 10 kHz;:BAND:VID 1 kHz;:POW:ATT 30;"
    ":UNIT:POW DBUV;:DISP:WIND:TRAC:Y:RLEV 90;:SWE:TIME 2.5;:SWE:POIN 401;"
    ":DISP:WIND:TRAC:Y:SPAC LIN;:TRAC1:MODE MAXH;:TRAC2:MODE MINH;:TRAC3:MODE VIEW;"
    ":INIT:CONT 0;:CONF:ACP;:FORM REAL,64;:FORM:BORD SWAP;:HCOP:DEV:LANG EMF";

TEST(SettingsImage, RoundTripRestoresEverySetting) {
  Analyzer source;
  source.execute(kEverySetting);
  ASSERT_EQ(source.execute(":SYST:ERR?"), "0,\"No error\"\n");
  const Settings wanted = source.settings();
  const Settings defaults;
  // Guard the guard: the fixture must really move every field away from its default.
  EXPECT_NE(wanted.startHz, defaults.startHz);
  EXPECT_NE(wanted.traceModes[2], defaults.traceModes[2]);
  EXPECT_NE(wanted.imageFormat, defaults.imageFormat);
  EXPECT_NE(wanted.format, defaults.format);

  const std::string reply = source.execute(":SYST:SET?");
  ASSERT_EQ(reply.front(), '#');
  Analyzer target;
  target.execute(":SYST:SET " + reply.substr(0, reply.size() - 1));
  EXPECT_EQ(target.execute(":SYST:ERR?"), "0,\"No error\"\n");
  EXPECT_EQ(target.settings(), wanted);

  // *LRN? answers the same settings as commands that restore them.
  Analyzer learner;
  learner.execute(source.execute("*LRN?"));
  EXPECT_EQ(learner.execute(":SYST:ERR?"), "0,\"No error\"\n");
  EXPECT_EQ(learner.settings().traceModes, wanted.traceModes);
  EXPECT_EQ(learner.settings().imageFormat, wanted.imageFormat);
  EXPECT_NEAR(learner.settings().refLevelDbm, wanted.refLevelDbm, 1e-9);
  Settings comparable = learner.settings();
  comparable.refLevelDbm = wanted.refLevelDbm;
  EXPECT_EQ(comparable, wanted);
}

TEST(SettingsImage, DamagedImagesAreRefusedAndChangeNothing) {
  Analyzer source;
  source.execute(kEverySetting);
  const std::string good = encodeSettingsImage(source.settings());
  ASSERT_TRUE(decodeSettingsImage(good));

  std::vector<std::pair<std::string, std::string>> damaged;
  for (std::size_t at : {std::size_t{0}, std::size_t{9}, good.size() / 2, good.size() - 1}) {
    std::string flipped = good;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x20);
    damaged.emplace_back("byte " + std::to_string(at) + " flipped", flipped);
  }
  damaged.emplace_back("truncated", good.substr(0, good.size() - 3));
  damaged.emplace_back("extended", good + "x");
  damaged.emplace_back("empty", "");
  // A well-formed image whose values are out of range.
  Settings impossible = source.settings();
  impossible.points = 0;
  damaged.emplace_back("zero points", encodeSettingsImage(impossible));
  impossible = source.settings();
  impossible.startHz = impossible.stopHz + 1;
  damaged.emplace_back("start above stop", encodeSettingsImage(impossible));

  for (const auto& [what, image] : damaged) {
    Analyzer target;
    target.execute(":SWE:POIN 7");
    const Settings before = target.settings();
    const std::string block = definiteBlock(image);
    target.execute(":SYST:SET " + block.substr(0, block.size() - 1));
    EXPECT_EQ(target.execute(":SYST:ERR?"), "-224,\"Illegal parameter value\"\n") << what;
    EXPECT_EQ(target.settings(), before) << what;
  }

  // A block whose header promises more than arrives is bad block data.
  Analyzer target;
  target.execute(":SYST:SET #3999abc");
  EXPECT_EQ(target.execute(":SYST:ERR?"), "-161,\"Invalid block data\"\n");
}

}  // namespace
}  // namespace sim
