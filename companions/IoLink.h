#pragma once
// An IO link object: one instrument address and the session behind it. The session opens on
// demand, ReleaseLink closes it, and the next operation opens it again. Every read waits at most
// the time-out it is given for the next bytes to arrive, so a slow serial line still gets through
// a long reply while a silent instrument is noticed. A whole reply has a deadline too: four
// time-outs, plus a second for every 10 kB that has arrived (a 115200-baud line moves 11 kB a
// second), so an instrument that keeps trickling bytes cannot hold the caller for longer than its
// reply could honestly take. A stop asked for through LinkInterrupt ends any wait at once. Any
// failure closes the session before it is raised: a reply left half read must never be mistaken
// for the answer to the next command.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Object.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/ErrorCodes.h"

namespace kro {

// The link's automation interface, shared by every kind of link.
inline constexpr const char* kIoLinkIid = "{5B0C7A41-2E6D-4F1A-9C83-7D21E4A90B11}";

class IoLink : public automation::Object {
 public:
  // A reply line longer than this is refused rather than buffered without end.
  static constexpr size_t kMaxLineLength = size_t{1} << 20;
  // The largest definite-length block accepted (a 100001-point trace needs 400 kB).
  static constexpr size_t kMaxBlockLength = size_t{64} << 20;
  // Blanks skipped before a block's "#", and carriage returns after it: a few are line-end
  // habits, more are an instrument that sends filler instead of its answer.
  static constexpr size_t kMaxFiller = 64;
  // How much longer than its time-out a whole reply may take, and the rate its length is
  // allowed to arrive at on top of that.
  static constexpr int kReplyTimeouts = 4;
  static constexpr size_t kSlowestBytesPerSecond = 10'000;

  explicit IoLink(std::string address);
  virtual ~IoLink() = default;

  // The address text the link was made from, as given.
  const std::string& Address() const { return address_; }
  // Ends the current use of the link: closes the session and forgets any unread reply.
  void ReleaseLink();

  bool isOpen() const { return open_; }
  // Opens the session now when it is not open.
  void open(int timeoutMs);

  // Sends `line` followed by a line feed.
  void writeLine(std::string_view line, int timeoutMs);
  // Sends raw bytes (a command whose tail is a block carries its own line end).
  void writeBytes(std::span<const uint8_t> bytes, int timeoutMs);
  // The next reply line, without its line end (LF or CR LF).
  std::string readLine(int timeoutMs, size_t maxLength = kMaxLineLength);
  // The next IEEE 488.2 definite-length block ("#" n L data), its data replacing `into`'s
  // contents, and the line end that follows it when there is one. `into` grows only as bytes
  // arrive, so a header that promises more than is sent costs no more than what came.
  void readBlock(std::vector<uint8_t>& into, int timeoutMs, size_t maxLength = kMaxBlockLength);
  std::vector<uint8_t> readBlock(int timeoutMs, size_t maxLength = kMaxBlockLength);

  // What kind of link this is, for messages and the component list ("TCP socket", "RS-232").
  virtual std::string kind() const = 0;

  // The members every link offers late-bound callers, for a concrete link's TypeInfo.
  template <class T>
  static automation::TypeInfo describe(std::string className) {
    return automation::TypeInfoBuilder<T>(std::move(className))
        .interface(kIoLinkIid, "IIoLink")
        .get("Address", 1, &IoLink::Address)
        .method("ReleaseLink", 2, &IoLink::ReleaseLink)
        .build();
  }

 protected:
  enum class Io { Done, TimedOut, Closed, Interrupted };
  using Millis = std::chrono::milliseconds;

  // Opens the transport, raising an Error worded for a person when it cannot.
  virtual void openTransport(Millis timeout) = 0;
  virtual void closeTransport() noexcept = 0;
  // Read / write at most `buffer.size()` bytes, waiting up to `timeout` for the transport to be
  // ready, or until LinkInterrupt is triggered; `count` receives how many moved (at least 1 when
  // the result is Done). A system failure is thrown as std::system_error.
  virtual Io readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) = 0;
  virtual Io writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) = 0;

  // Closes the session and raises `code` with `description`.
  [[noreturn]] void fail(ErrorCode code, const std::string& description);
  // Raises Interrupted, saying what the link was doing ("connecting to", "waiting for a reply from").
  [[noreturn]] void interrupted(std::string_view doing);

 private:
  // Reads more into the receive buffer; raises on time-out or close. `received` and `expected`
  // describe the reply so far for the message (expected 0 = unknown).
  void fill(int timeoutMs, size_t received, size_t expected);
  size_t buffered() const { return rxEnd_ - rxBegin_; }
  // Reads into `buffer` (at least one byte); raises on time-out or close like fill.
  size_t receive(std::span<uint8_t> buffer, int timeoutMs, size_t received, size_t expected);
  uint8_t takeByte(int timeoutMs, size_t received, size_t expected);
  // A block may be followed by a line end that has not arrived yet; the next line read drops
  // it (waiting for it), the block read itself drops only what has already arrived.
  void dropPendingLineEnd(int timeoutMs, bool wait);

  using Clock = std::chrono::steady_clock;
  // Starts the whole-reply deadline of the reply about to be read.
  void startReply(int timeoutMs);

  std::string address_;
  bool open_ = false;
  Clock::time_point replyDeadline_{};
  int replyTimeoutMs_ = 0;
  std::vector<uint8_t> rx_;
  size_t rxBegin_ = 0, rxEnd_ = 0;
  bool pendingLineEnd_ = false;
};

}  // namespace kro
