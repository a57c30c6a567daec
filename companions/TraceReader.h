#pragma once
// Reads traces from the analyzer into automation arrays: one trace as Double(1 To N), all three as
// Double(1 To 3, 1 To N). The values are decoded from the received bytes straight into the
// array's storage; nothing is copied on the way.
#include "automation/SafeArray.h"
#include "companions/ScpiSession.h"
#include "companions/ZELDevice.h"

namespace kro {

class TraceReader {
 public:
  TraceReader(ScpiSession& scpi, TraceFormat format) : scpi_(scpi), format_(format) {}

  // Takes a fresh sweep and waits until it has ended (the time-out must cover the sweep time).
  void takeSweep();
  automation::SafeArray readTrace(int trace);
  automation::SafeArray readAllTraces();

 private:
  // The commands that select the transfer format, sent ahead of the queries in the same write.
  std::string formatCommands() const;
  // Sends `commands` (lines) at once, then reads the first reply into raw_ or line_.
  void send(const std::string& commands);
  // Reads the next trace reply; returns its point count.
  size_t receiveTrace(int trace);
  // Decodes the reply last received into `out` at the given stride.
  void decode(double* out, size_t stride, size_t count);
  // Raises BadReply for a trace of `points` points where `expected` were due (0: any number).
  [[noreturn]] void mismatch(int trace, size_t points, size_t expected);
  template <class F>
  automation::SafeArray releasingOnFailure(F&& read);

  ScpiSession& scpi_;
  TraceFormat format_;
  std::vector<uint8_t> raw_;
  std::string line_;
};

}  // namespace kro
