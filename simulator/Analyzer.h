#pragma once
// The simulated analyzer: its settings, traces, status registers and error queue, and the SCPI
// interpreter that reads and changes them. No I/O here: a transport hands in each received
// program message and sends back what comes out. One instance is one instrument, shared by every
// connection, as a real analyzer is.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/ErrorQueue.h"
#include "simulator/ScpiMessage.h"
#include "simulator/Settings.h"
#include "simulator/TraceEngine.h"

namespace sim {

struct Reply {
  enum class Kind { Text, Number, Block };
  Kind kind;
  std::string bytes;  // the response, terminator included
};

struct Identity {
  std::string maker = "Corvane";
  std::string model = "ZEL-R 3036";
  std::string serial = "100245";
  std::string firmware = "A.02.14";
};

class Analyzer {
 public:
  using SystemClock = std::function<std::chrono::system_clock::time_point()>;

  explicit Analyzer(uint32_t seed = 1);

  // Runs one program message (one received line, without its line feed) and returns the
  // responses of its queries in order, each ending in a line feed.
  std::string execute(std::string_view line);
  std::vector<Reply> process(std::string_view line);
  // Queues an error found outside the interpreter (an input line that was too long).
  void reportError(int code);

  const Settings& settings() const { return settings_; }
  const Identity& identity() const { return identity_; }
  void setIdentity(Identity identity) { identity_ = std::move(identity); }
  // The instrument's clock for :SYST:DATE? and :SYST:TIME?; the computer's clock by default.
  void setClock(SystemClock clock) { clock_ = std::move(clock); }
  std::size_t pendingErrors() const { return errors_.size(); }
  // A trace as the analyzer holds it, in dBm (1..3), without sweeping.
  const std::vector<float>& traceDbm(int trace) const { return engine_.trace(trace - 1); }
  uint64_t sweeps() const { return engine_.sweeps(); }
  // An input that measured nothing usable: traces report their first three points as NaN,
  // +Inf and -Inf (ASCII: NAN, INF, -INF).
  void setNonFinitePoints(bool on) { nonFinitePoints_ = on; }

 private:
  friend struct Commands;

  struct Call {
    int suffix;
    const std::vector<Param>& params;
    const Param& only() const;  // exactly one parameter
    void none() const;          // no parameter at all
  };
  using SetHandler = void (*)(Analyzer&, const Call&);
  using QueryHandler = Reply (*)(Analyzer&, const Call&);

  void dispatch(const ProgramUnit& unit, const std::vector<std::string>& nodes, std::vector<Reply>& out);
  void queueError(int code);
  void reset();
  // The trace to answer a data query with: swept first when it has no data for the current
  // point count, and in continuous sweep when this trace was already read since the last sweep
  // (so reading traces 1, 2, 3 gives one sweep, and reading again gives the next one).
  const std::vector<float>& traceForRead(int trace);
  void sweep();
  std::string traceReply(int trace);
  std::string settingsCommands() const;  // *LRN?
  std::string screenImage();
  std::chrono::system_clock::time_point now() const { return clock_() + clockOffset_; }
  uint8_t statusByte() const;

  Identity identity_;
  Settings settings_;
  TraceEngine engine_;
  ErrorQueue errors_;
  unsigned readSinceSweep_ = 0;
  std::vector<double> unitValues_;  // scratch for trace replies
  bool nonFinitePoints_ = false;
  uint8_t esr_ = 0x80;  // power on
  uint8_t ese_ = 0;
  uint8_t sre_ = 0;
  SystemClock clock_;
  std::chrono::system_clock::duration clockOffset_{0};
};

// A definite-length block response: "#", the digit count, the length, the data, a line feed.
std::string definiteBlock(std::string_view data);

}  // namespace sim
