// Misbehaving analyzers: every fault the simulator can commit becomes an Error that says what
// happened and where, and the link works again once released.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "SimulatedAnalyzer.h"
#include "automation/SafeArray.h"
#include "companions/SerialLink.h"

namespace kro::test {
namespace {

using testing::HasSubstr;
using testing::StartsWith;

using FaultyAnalyzer = SimulatedAnalyzer;

TEST_F(FaultyAnalyzer, EachFaultIsDescribedAndTheLinkRecoversAfterRelease) {
  instrument(":SENS:SWE:POIN 1001");
  const std::string at = address();
  struct Case {
    const char* name;
    sim::Faults faults;
    ErrorCode code;
    std::string description;  // the start of it
    bool traces;              // fail a trace read rather than a settings query
    bool closes = true;       // a whole but wrong reply leaves the link in step, and open
  } cases[] = {
      {"late reply", {.replyDelay = std::chrono::milliseconds(2000)}, ErrorCode::Timeout,
       "Timed out after 100 ms waiting for a reply from " + at, false},
      {"no reply", {.stall = true}, ErrorCode::Timeout,
       "Timed out after 100 ms waiting for a reply from " + at, true},
      {"cut short", {.closeAfterBytes = 1000}, ErrorCode::LinkClosed,
       at + " closed the connection in the middle of a reply (994 of 4004 bytes received)", true},
      {"garbled number", {.malformedReply = true}, ErrorCode::BadReply,
       ":SENS:FREQ:STAR? to " + at + " returned '9.9.9E+3X7' where a finite number was expected", false, false},
      {"garbled block", {.malformedReply = true}, ErrorCode::BadReply,
       at + " sent a block header that is not '#' and a digit", true},
      {"refused", {.refuseConnections = true}, ErrorCode::LinkClosed,
       at + " closed the connection", false},
  };
  zel->Device()->setIoTimeout(100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link->ReleaseLink();
    server.setFaults(c.faults);
    const std::string text = expectError(c.code, [&] {
      if (c.traces) zel->GetTraceData(1, false);
      else zel->StartFrequency();
    });
    EXPECT_THAT(text, StartsWith(c.description));
    EXPECT_EQ(link->isOpen(), !c.closes) << "a broken exchange leaves nothing half read behind";

    server.setFaults({});
    link->ReleaseLink();
    EXPECT_EQ(zel->GetTraceData(1, false).asArray().UBound(), 1001);
    EXPECT_EQ(zel->StartFrequency(), settings().startHz);
  }
}

TEST_F(FaultyAnalyzer, TheTimeOutCoversTheSweepOfARepeatedRead) {
  server.setFaults({.replyDelay = std::chrono::milliseconds(150)});
  zel->Device()->setIoTimeout(100);
  EXPECT_THAT(expectError(ErrorCode::Timeout, [&] { zel->GetAllTraceData(true); }),
              HasSubstr("Timed out after 100 ms"));
  // Raised as a transfer raises it, the same wait is within the time-out.
  zel->Device()->setIoTimeout(5000);
  EXPECT_EQ(zel->GetAllTraceData(true).asArray().UBound(1), 3);
}

// A pseudo-terminal pair stands in for a serial cable: the simulator serves the master side, the
// link opens the slave device by its path.
class SerialAnalyzer : public testing::Test {
 protected:
  SerialAnalyzer() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(::grantpt(master_), 0);
    EXPECT_EQ(::unlockpt(master_), 0);
    path_ = ::ptsname(master_);
    // Held open for the whole test so that the line stays up while the link closes and reopens.
    holder_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    ::tcgetattr(holder_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(holder_, TCSANOW, &raw);
    server_.serveStream(master_);
  }
  ~SerialAnalyzer() override {
    server_.stop();
    ::close(holder_);
    ::close(master_);
  }

  std::string address() const { return "ASRL" + path_ + "::INSTR"; }
  termios lineSettings() const {
    termios tio{};
    ::tcgetattr(holder_, &tio);
    return tio;
  }

  sim::AnalyzerServer server_{sim::ServerOptions{.port = 0}};
  int master_ = -1, holder_ = -1;
  std::string path_;
};

TEST_F(SerialAnalyzer, TheServerWorksOverASerialLineWithBinaryTraces) {
  RS232Config config;
  config.setBaudRate(115200);
  auto link = std::make_shared<SerialLink>(address(), config);
  auto zel = std::make_shared<ZELEZ>();
  zel->Device()->setIoSession(link);
  EXPECT_EQ(zel->Device()->Model(), "ZEL-R 3036");
  const termios line = lineSettings();
  EXPECT_EQ(cfgetospeed(&line), B115200);
  EXPECT_EQ(line.c_lflag & ECHO, 0u);

  server_.withAnalyzer([](sim::Analyzer& a) { a.execute(":INIT:CONT 0;:SENS:SWE:POIN 4001;:TRAC2:MODE MAXH"); });
  // Binary REAL,32 data holds every byte value, line ends and XON/XOFF among them: the line
  // must pass them untouched.
  const automation::Variant all = zel->GetAllTraceData(false);
  const auto held = server_.withAnalyzer([](sim::Analyzer& a) { return a.traceDbm(2); });
  ASSERT_EQ(all.asArray().UBound(2), 4001);
  for (int32_t i = 1; i <= 4001; ++i) ASSERT_EQ(all.asArray().at({2, i}).asDouble(), held[i - 1]) << i;

  link->ReleaseLink();
  EXPECT_FALSE(link->isOpen());
  EXPECT_EQ(zel->NumberOfPoints(), 4001);
}

TEST(SerialLinkSettings, TheLineTakesTheRs232Configuration) {
  struct Case {
    int32_t baud, dataBits, parity, stopBits;
    speed_t speed;
    tcflag_t size, parityFlags;
    bool twoStops;
  } cases[] = {
      {9600, 8, rs232ParityNone, 1, B9600, CS8, 0, false},
      {19200, 7, rs232ParityEven, 2, B19200, CS7, PARENB, true},
      {2400, 5, rs232ParityOdd, 1, B2400, CS5, PARENB | PARODD, false},
  };
  termios cooked{};
  cooked.c_lflag = ICANON | ECHO;
  cooked.c_iflag = IXON | ICRNL;
  cooked.c_cflag = CS6 | PARENB | PARODD | CSTOPB | CRTSCTS;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.baud);
    RS232Config config;
    config.setBaudRate(c.baud);
    config.setDataBits(c.dataBits);
    config.setParity(c.parity);
    config.setStopBits(c.stopBits);
    const termios tio = SerialLink::lineSettings(cooked, config);
    EXPECT_EQ(cfgetospeed(&tio), c.speed);
    EXPECT_EQ(cfgetispeed(&tio), c.speed);
    EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD), c.parityFlags);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStops);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u) << "raw, without echo or line editing";
    EXPECT_EQ(tio.c_iflag & (IXON | ICRNL), 0u) << "no flow-control bytes or CR translation";
  }
}

TEST(RS232ConfigValues, SettingsTheDriverCannotUseAreRefused) {
  RS232Config config;
  using Set = void (RS232Config::*)(int32_t);
  for (auto [set, value] : {std::pair<Set, int32_t>{&RS232Config::setBaudRate, 12345}, {&RS232Config::setDataBits, 9},
                            {&RS232Config::setParity, 0}, {&RS232Config::setStopBits, 3}}) {
    expectError(ErrorCode::BadArgument, [&, set = set, value = value] { (config.*set)(value); });
    EXPECT_EQ(config, RS232Config()) << "a refused value leaves the setting as it was";
  }
}

TEST(SerialLinkOpen, AMissingDeviceIsNamedInTheError) {
  SerialLink link("ASRL/dev/zel-no-such-tty::INSTR");
  EXPECT_EQ(expectError(ErrorCode::ConnectFailed, [&] { link.writeLine("*IDN?", 100); }),
            "Could not open ASRL/dev/zel-no-such-tty::INSTR (/dev/zel-no-such-tty): No such file or directory");
  SerialLink notATerminal("ASRL/dev/null::INSTR");
  EXPECT_THAT(expectError(ErrorCode::ConnectFailed, [&] { notATerminal.writeLine("*IDN?", 100); }),
              HasSubstr("/dev/null is not a serial line"));
}

}  // namespace
}  // namespace kro::test
