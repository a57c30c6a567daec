// The error queue and the IEEE 488.2 status registers as a client sees them.
#include <gtest/gtest.h>

#include <string>

#include "simulator/Analyzer.h"
#include "simulator/ErrorQueue.h"

namespace sim {
namespace {

TEST(ErrorQueue, ReportsErrorsOldestFirstThenNoError) {
  Analyzer a;
  a.execute(":BOGUS 1;:SWE:POIN 0;:FREQ:STAR ABC");
  EXPECT_EQ(a.execute(":SYST:ERR:COUN?"), "3\n");
  EXPECT_EQ(a.execute(":SYST:ERR?"), "-113,\"Undefined header\"\n");
  EXPECT_EQ(a.execute(":SYST:ERR:NEXT?"), "-222,\"Data out of range\"\n");
  EXPECT_EQ(a.execute(":SYST:ERR?"), "-104,\"Data type error\"\n");
  EXPECT_EQ(a.execute(":SYST:ERR?"), "0,\"No error\"\n");
  EXPECT_EQ(a.execute(":SYST:ERR?"), "0,\"No error\"\n");
}

TEST(ErrorQueue, OverflowKeepsTheOldestAndEndsInQueueOverflow) {
  Analyzer a;
  for (std::size_t i = 0; i < ErrorQueue::kCapacity + 5; ++i) a.execute(":SWE:POIN 0");
  a.execute(":BOGUS");  // lost as well: the queue is full
  std::vector<std::string> read;
  for (std::size_t i = 0; i < ErrorQueue::kCapacity + 1; ++i) read.push_back(a.execute(":SYST:ERR?"));
  for (std::size_t i = 0; i + 1 < ErrorQueue::kCapacity; ++i) EXPECT_EQ(read[i], "-222,\"Data out of range\"\n");
  EXPECT_EQ(read[ErrorQueue::kCapacity - 1], "-350,\"Queue overflow\"\n");
  EXPECT_EQ(read[ErrorQueue::kCapacity], "0,\"No error\"\n");
}

TEST(ErrorQueue, ClsEmptiesTheQueueAndTheEventRegister) {
  Analyzer a;
  for (int i = 0; i < 30; ++i) a.execute(":BOGUS");
  a.execute("*CLS");
  EXPECT_EQ(a.execute(":SYST:ERR?;*ESR?"), "0,\"No error\"\n0\n");
  // *RST changes settings, not the queue.
  a.execute(":BOGUS;*RST");
  EXPECT_EQ(a.execute(":SYST:ERR?"), "-113,\"Undefined header\"\n");
}

TEST(StatusRegisters, EventBitsFollowTheErrorClassAndClearOnRead) {
  Analyzer a;
  EXPECT_EQ(a.execute("*ESR?"), "128\n");  // power on
  EXPECT_EQ(a.execute("*ESR?"), "0\n");
  struct Case {
    const char* command;
    int bit;
  };
  const Case cases[] = {{":BOGUS", 32}, {":SWE:POIN 0", 16}, {"*OPC", 1}};
  for (const Case& c : cases) {
    a.execute(c.command);
    EXPECT_EQ(a.execute("*ESR?"), std::to_string(c.bit) + "\n") << c.command;
  }
}

TEST(StatusRegisters, StatusByteSummarisesQueueAndEnabledEvents) {
  Analyzer a;
  a.execute("*CLS;*ESE 32;*SRE 36");
  EXPECT_EQ(a.execute("*ESE?;*SRE?;*STB?"), "32\n36\n0\n");
  a.execute(":BOGUS");
  // Error queue not empty (4), enabled command error in ESR (32), both enabled: MSS (64).
  EXPECT_EQ(a.execute("*STB?"), "100\n");
  a.execute(":SYST:ERR?");
  EXPECT_EQ(a.execute("*STB?"), "96\n");
  a.execute("*ESR?");
  EXPECT_EQ(a.execute("*STB?"), "0\n");
  EXPECT_EQ(a.execute("*OPC?;*WAI;*TST?"), "1\n0\n");
}

TEST(Identity, AnswersMakerModelSerialAndFirmware) {
  Analyzer a;
  a.setIdentity({"Maker", "ZEL-Q 1103", "42", "B.01"});
  EXPECT_EQ(a.execute("*IDN?"), "Maker,ZEL-Q 1103,42,B.01\n");
  Analyzer standard;
  const std::string idn = standard.execute("*idn?");
  EXPECT_EQ(std::count(idn.begin(), idn.end(), ','), 3);
  EXPECT_NE(idn.find(",ZEL-R 3036,"), std::string::npos);
}

TEST(InstrumentClock, DateAndTimeCanBeReadAndSet) {
  Analyzer a;
  // 2026-12-04 08:16:18 local time.
  std::tm tm{};
  tm.tm_year = 126;
  tm.tm_mon = 11;
  tm.tm_mday = 4;
  tm.tm_hour = 8;
  tm.tm_min = 16;
  tm.tm_sec = 18;
  tm.tm_isdst = -1;
  const auto fixed = std::chrono::system_clock::from_time_t(std::mktime(&tm));
  a.setClock([fixed] { return fixed; });
  EXPECT_EQ(a.execute(":SYST:DATE?;:SYST:TIME?"), "2026,12,04\n08,16,18\n");
  a.execute(":SYST:DATE 2027,1,31;:SYST:TIME 23,5,9");
  EXPECT_EQ(a.execute(":SYST:DATE?;:SYST:TIME?"), "2027,01,31\n23,05,09\n");
  a.execute(":SYST:TIME 24,0,0;:SYST:DATE 2027,13,1");
  EXPECT_EQ(a.execute(":SYST:ERR?;:SYST:ERR?"), "-222,\"Data out of range\"\n-222,\"Data out of range\"\n");
}

}  // namespace
}  // namespace sim
