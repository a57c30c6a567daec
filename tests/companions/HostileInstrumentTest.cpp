// A scripted instrument that answers the queries of each case with what a broken or hostile
// analyzer sends: endless filler, a trickle, values that are no numbers, terminal escapes, a
// megabyte, impossible dates. Every case ends within its time-out with a message that says what
// was expected and quotes at most a short, escaped excerpt; the link then works again.
#include <gmock/gmock.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "RawServer.h"
#include "SimulatedAnalyzer.h"
#include "automation/SafeArray.h"
#include "companions/LinkInterrupt.h"

namespace kro::test {
namespace {

using testing::HasSubstr;
using testing::Not;

using Reply = std::function<void(RawServer::Peer&)>;

Reply says(std::string text) {
  return [text = std::move(text)](RawServer::Peer& peer) { peer.send(text); };
}

// Sends `unit` until the client goes away, pausing `pause` between sends.
Reply endless(std::string unit, std::chrono::milliseconds pause = {}) {
  return [unit = std::move(unit), pause](RawServer::Peer& peer) {
    while (peer.send(unit)) std::this_thread::sleep_for(pause);
  };
}

// An analyzer of a supported model whose other replies are scripted by query.
class ScriptedInstrument {
 public:
  explicit ScriptedInstrument(std::map<std::string, Reply> script)
      : script_(std::move(script)), server_([this](RawServer::Peer& peer, const std::string& line) {
          if (auto found = script_.find(line); found != script_.end()) return found->second(peer);
          if (line == "*IDN?") peer.send("Corvane,ZEL-R 3036,100245,A.02.14\n");
        }) {}

  // A server attached to this instrument, with reads timing out after `timeoutMs`.
  std::shared_ptr<ZELEZ> attach(int timeoutMs) {
    auto zel = std::make_shared<ZELEZ>();
    zel->Device()->setIoTimeout(timeoutMs);
    zel->Device()->setIoSession(makeIoLink(server_.address()));
    return zel;
  }
  std::string address() const { return server_.address(); }

 private:
  std::map<std::string, Reply> script_;
  RawServer server_;
};

TEST(HostileInstrument, EachFaultEndsInTimeWithAMessageThatQuotesLittleAndEscaped) {
  const std::string megabyte = std::string(999'999, '7') + "x\n";
  struct Case {
    const char* name;
    std::map<std::string, Reply> script;
    std::function<void(ZELEZ&)> call;
    ErrorCode code;
    std::string description;  // a part of it; "{}" stands for the address
    int timeoutMs = 2000;
  } cases[] = {
      {"endless blanks for a trace",
       {{":TRAC:DATA? TRACE1", endless(std::string(4096, ' '))}},
       [](ZELEZ& z) { z.GetTraceData(1, false); },
       ErrorCode::BadReply,
       "' where a data block (\"#\", a digit, the length, the data) was expected"},
      {"a reply that trickles on", {{":SENS:FREQ:STAR?", endless(" ", std::chrono::milliseconds(2))}},
       [](ZELEZ& z) { z.StartFrequency(); }, ErrorCode::Timeout,
       "The reply from {} did not end in the time it could take (4000 ms and a second for each 10 kB)", 1000},
      {"-inf for a number", {{":SENS:FREQ:STAR?", says("-inf\n")}}, [](ZELEZ& z) { z.StartFrequency(); },
       ErrorCode::BadReply, ":SENS:FREQ:STAR? to {} returned '-inf' where a finite number was expected"},
      {"nan for a sweep time", {{":SENS:SWE:TIME?", says("nan\n")}}, [](ZELEZ& z) { z.SweepTime(); },
       ErrorCode::BadReply, ":SENS:SWE:TIME? to {} returned 'nan' where a finite number was expected"},
      {"terminal escapes", {{":SENS:FREQ:SPAN?", says("\x1b]0;owned\a\x1b[2J\x1b[31m1\n")}}, [](ZELEZ& z) { z.Span(); },
       ErrorCode::BadReply, "returned '\\x1B]0;owned\\x07\\x1B[2J\\x1B[31m1' where a finite number was expected"},
      {"a megabyte for a number", {{":SENS:BAND:RES?", says(megabyte)}},
       [](ZELEZ& z) { z.ResolutionBandwidth(); }, ErrorCode::BadReply,
       "returned '" + std::string(80, '7') + "... (1000000 bytes)' where a finite number was expected"},
      {"a 13th month", {{":SYST:DATE?", says("2026,13,40\n")}, {":SYST:TIME?", says("12,0,0\n")}},
       [](ZELEZ& z) { z.InstrumentDateTime(); }, ErrorCode::BadReply,
       "{} gave the date 2026,13,40 and the time 12,0,0, which name no moment of the calendar"},
      {"nan in the date", {{":SYST:DATE?", says("-nan,1,1\n")}, {":SYST:TIME?", says("12,0,0\n")}},
       [](ZELEZ& z) { z.InstrumentDateTime(); }, ErrorCode::BadReply,
       "returned '-nan,1,1' and '12,0,0' where a date (year,month,day) and a time (hour,minute,second) were "
       "expected"},
      {"an identity without its firmware", {{"*IDN?", says("Corvane,ZEL-R 3036,100245\n")}},
       [](ZELEZ& z) { z.Device()->Model(); }, ErrorCode::BadReply,
       "*IDN? to {} returned 'Corvane,ZEL-R 3036,100245' where an identity (maker,model,serial,firmware) was "
       "expected"},
      {"a sweep of 23 days", {{":SENS:SWE:TIME?", says("2000000\n")}}, [](ZELEZ& z) { z.SweepTime(); },
       ErrorCode::NotSupported,
       "The analyzer at {} sweeps for 2000000 s; traces are read from sweeps of at most 600 s (10 minutes)"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedInstrument instrument(std::move(c.script));
    // Attaching asks for the identity already.
    const std::string text = expectError(c.code, [&] { c.call(*instrument.attach(c.timeoutMs)); });
    std::string expected = c.description;
    if (auto at = expected.find("{}"); at != std::string::npos) expected.replace(at, 2, instrument.address());
    EXPECT_THAT(text, HasSubstr(expected));
    EXPECT_LT(text.size(), 400u);
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
  }
}

// Whether thread `tid` of this process sits in poll(2), as a link waiting for its instrument does.
bool waitsInPoll(pid_t tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
  long number = -1;
  in >> number;
  return number == SYS_poll || number == SYS_ppoll;
}

TEST(HostileInstrument, AStopEndsTheWaitForAReplyAndLetsGoOfTheLink) {
  int asked = 0;
  const pid_t client = ::gettid();
  ScriptedInstrument instrument({{":SENS:FREQ:STAR?", [&](RawServer::Peer& peer) {
                                    if (++asked > 1) return (void)peer.send("5\n");
                                    // The first time the stop comes while the link already waits for
                                    // the reply, so that only the wait itself can hear it.
                                    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                                    while (!waitsInPoll(client) && std::chrono::steady_clock::now() < giveUp)
                                      std::this_thread::yield();
                                    LinkInterrupt::instance().trigger();
                                  }}});
  auto zel = instrument.attach(5'000);
  EXPECT_EQ(expectError(ErrorCode::Interrupted, [&] { zel->StartFrequency(); }),
            "Stopped while waiting for a reply from " + instrument.address());
  EXPECT_FALSE(zel->device()->link()->isOpen());
  EXPECT_EQ(expectError(ErrorCode::Interrupted, [&] { zel->StartFrequency(); }),
            "Stopped while connecting to " + instrument.address())
      << "nothing more is asked of the instrument";
  LinkInterrupt::instance().reset();
  EXPECT_EQ(zel->StartFrequency(), 5.0);
}

using NonFiniteTrace = SimulatedAnalyzer;

TEST_F(NonFiniteTrace, ValuesThatAreNotFiniteAreKeptAsTheAnalyzerSentThem) {
  server.setFaults({.nonFiniteTrace = true});
  for (TraceFormat format : {TraceFormat::Real32, TraceFormat::Ascii}) {
    SCOPED_TRACE(format == TraceFormat::Ascii ? "ASCII" : "REAL,32");
    zel->device()->setTraceFormat(format);
    const automation::Variant trace = zel->GetTraceData(1, false);
    const auto values = trace.asArray().doubles();
    ASSERT_GT(values.size(), 4u);
    EXPECT_TRUE(std::isnan(values[0]));
    EXPECT_EQ(values[1], INFINITY);
    EXPECT_EQ(values[2], -INFINITY);
    EXPECT_TRUE(std::isfinite(values[3]));
  }
}

}  // namespace
}  // namespace kro::test
