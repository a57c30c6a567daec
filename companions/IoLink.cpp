#include "IoLink.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstring>
#include <system_error>

#include "companions/LinkInterrupt.h"
#include "companions/ReplyExcerpt.h"

namespace kro {

namespace {

constexpr size_t kReceiveBufferSize = 64 * 1024;

// The start of a reply that is not what was asked, up to its line end, for the message.
std::string excerpt(const uint8_t* data, size_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  const std::string_view shown(text, size);
  return replyExcerpt(shown.substr(0, shown.find('\n')));
}

}  // namespace

IoLink::IoLink(std::string address) : address_(std::move(address)) {}

void IoLink::ReleaseLink() {
  if (open_) closeTransport();
  open_ = false;
  rx_.clear();
  rx_.shrink_to_fit();
  rxBegin_ = rxEnd_ = 0;
  pendingLineEnd_ = false;
}

void IoLink::open(int timeoutMs) {
  if (open_) return;
  if (LinkInterrupt::instance().triggered()) interrupted("connecting to");
  rxBegin_ = rxEnd_ = 0;
  pendingLineEnd_ = false;
  try {
    openTransport(Millis(std::max(timeoutMs, 0)));
  } catch (...) {
    closeTransport();
    throw;
  }
  rx_.resize(kReceiveBufferSize);
  open_ = true;
}

void IoLink::fail(ErrorCode code, const std::string& description) {
  ReleaseLink();
  throw companionError(code, description, kLinkSource);
}

void IoLink::interrupted(std::string_view doing) {
  fail(ErrorCode::Interrupted, fmt::format("Stopped while {} {}", doing, address_));
}

void IoLink::startReply(int timeoutMs) {
  replyTimeoutMs_ = std::max(timeoutMs, 0);
  replyDeadline_ = Clock::now() + Millis(int64_t{replyTimeoutMs_} * kReplyTimeouts);
}

void IoLink::writeLine(std::string_view line, int timeoutMs) {
  std::string bytes;
  bytes.reserve(line.size() + 1);
  bytes.append(line).push_back('\n');
  writeBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, timeoutMs);
}

void IoLink::writeBytes(std::span<const uint8_t> bytes, int timeoutMs) {
  open(timeoutMs);
  // A send that fits the socket's buffer never waits, so it would never see the stop there.
  if (LinkInterrupt::instance().triggered()) interrupted("sending to");
  size_t sent = 0;
  while (sent < bytes.size()) {
    size_t count = 0;
    Io result;
    try {
      result = writeSome(bytes.subspan(sent), Millis(std::max(timeoutMs, 0)), count);
    } catch (const std::system_error& e) {
      fail(ErrorCode::LinkFailed, fmt::format("Could not send to {}: {}", address_, e.code().message()));
    }
    if (result == Io::TimedOut)
      fail(ErrorCode::Timeout, fmt::format("Timed out after {} ms sending to {}", timeoutMs, address_));
    if (result == Io::Closed)
      fail(ErrorCode::LinkClosed, fmt::format("{} closed the connection", address_));
    if (result == Io::Interrupted) interrupted("sending to");
    sent += count;
  }
}

size_t IoLink::receive(std::span<uint8_t> buffer, int timeoutMs, size_t received, size_t expected) {
  const Millis perRead(std::max(timeoutMs, 0));
  const Millis left = std::chrono::ceil<Millis>(replyDeadline_ - Clock::now());
  const bool lastWait = left < perRead;
  // A flood that never lets the link wait must still hear a stop.
  if (LinkInterrupt::instance().triggered()) interrupted("waiting for a reply from");
  size_t count = 0;
  Io result = Io::TimedOut;
  try {
    if (left.count() > 0) result = readSome(buffer, std::min(perRead, left), count);
  } catch (const std::system_error& e) {
    fail(ErrorCode::LinkFailed, fmt::format("Could not read from {}: {}", address_, e.code().message()));
  }
  if (result == Io::Done) {
    // What has arrived earns the time that a slow line needs to carry it.
    replyDeadline_ += std::chrono::microseconds(count * 1'000'000 / kSlowestBytesPerSecond);
    return count;
  }
  if (result == Io::Interrupted) interrupted("waiting for a reply from");
  const std::string progress =
      expected ? fmt::format(" ({} of {} bytes received)", received, expected)
               : fmt::format(" ({} bytes received)", received);
  if (result == Io::TimedOut && lastWait)
    fail(ErrorCode::Timeout, fmt::format("The reply from {} did not end in the time it could take ({} ms and "
                                         "a second for each 10 kB){}",
                                         address_, replyTimeoutMs_ * kReplyTimeouts, progress));
  if (result == Io::TimedOut) {
    if (received == 0)
      fail(ErrorCode::Timeout,
           fmt::format("Timed out after {} ms waiting for a reply from {}", timeoutMs, address_));
    fail(ErrorCode::Timeout, fmt::format("Timed out after {} ms in the middle of a reply from {}{}",
                                         timeoutMs, address_, progress));
  }
  if (received == 0)
    fail(ErrorCode::LinkClosed,
         fmt::format("{} closed the connection while a reply was awaited", address_));
  fail(ErrorCode::LinkClosed,
       fmt::format("{} closed the connection in the middle of a reply{}", address_, progress));
}

void IoLink::fill(int timeoutMs, size_t received, size_t expected) {
  rxBegin_ = 0;
  rxEnd_ = receive({rx_.data(), rx_.size()}, timeoutMs, received, expected);
}

uint8_t IoLink::takeByte(int timeoutMs, size_t received, size_t expected) {
  if (buffered() == 0) fill(timeoutMs, received, expected);
  return rx_[rxBegin_++];
}

void IoLink::dropPendingLineEnd(int timeoutMs, bool wait) {
  for (size_t returns = 0; pendingLineEnd_;) {
    if (buffered() == 0) {
      if (!wait) return;
      fill(timeoutMs, 0, 0);
    }
    const uint8_t c = rx_[rxBegin_];
    if (c == '\n') {
      ++rxBegin_;
      pendingLineEnd_ = false;
    } else if (c == '\r' && ++returns <= kMaxFiller) {
      ++rxBegin_;
    } else {
      pendingLineEnd_ = false;
    }
  }
}

std::string IoLink::readLine(int timeoutMs, size_t maxLength) {
  open(timeoutMs);
  startReply(timeoutMs);
  dropPendingLineEnd(timeoutMs, true);
  std::string line;
  for (;;) {
    if (buffered() == 0) fill(timeoutMs, line.size(), 0);
    const uint8_t* begin = rx_.data() + rxBegin_;
    const auto* end = static_cast<const uint8_t*>(std::memchr(begin, '\n', buffered()));
    const size_t take = end ? static_cast<size_t>(end - begin) : buffered();
    if (line.size() + take > maxLength)
      fail(ErrorCode::ReplyTooLong,
           fmt::format("A reply line from {} exceeded {} bytes without a line end", address_, maxLength));
    line.append(reinterpret_cast<const char*>(begin), take);
    rxBegin_ += take;
    if (end) {
      ++rxBegin_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
  }
}

std::vector<uint8_t> IoLink::readBlock(int timeoutMs, size_t maxLength) {
  std::vector<uint8_t> data;
  readBlock(data, timeoutMs, maxLength);
  return data;
}

void IoLink::readBlock(std::vector<uint8_t>& into, int timeoutMs, size_t maxLength) {
  open(timeoutMs);
  startReply(timeoutMs);
  pendingLineEnd_ = false;
  uint8_t c;
  size_t blanks = 0;
  do c = takeByte(timeoutMs, 0, 0);
  while ((c == ' ' || c == '\t' || c == '\r' || c == '\n') && ++blanks <= kMaxFiller);
  if (c != '#') {
    --rxBegin_;
    fail(ErrorCode::BadReply,
         fmt::format("{} answered '{}' where a data block (\"#\", a digit, the length, the data) was expected",
                     address_, excerpt(rx_.data() + rxBegin_, buffered())));
  }
  const uint8_t digits = takeByte(timeoutMs, 1, 0);
  if (digits == '0')
    fail(ErrorCode::BadReply,
         fmt::format("{} sent an indefinite-length block, which this link does not read", address_));
  if (digits < '1' || digits > '9')
    fail(ErrorCode::BadReply, fmt::format("{} sent a block header that is not '#' and a digit", address_));
  uint64_t length = 0;
  for (int i = 0; i < digits - '0'; ++i) {
    const uint8_t d = takeByte(timeoutMs, 2 + i, 0);
    if (d < '0' || d > '9')
      fail(ErrorCode::BadReply, fmt::format("{} sent a block length that is not a number", address_));
    length = length * 10 + (d - '0');
  }
  if (length > maxLength)
    fail(ErrorCode::ReplyTooLong,
         fmt::format("{} announced a block of {} bytes, more than the {} bytes accepted", address_,
                     length, maxLength));

  const size_t total = static_cast<size_t>(length);
  into.clear();
  while (into.size() < total) {
    const size_t need = total - into.size();
    if (buffered() > 0) {
      const size_t take = std::min(need, buffered());
      into.insert(into.end(), rx_.begin() + rxBegin_, rx_.begin() + rxBegin_ + take);
      rxBegin_ += take;
      continue;
    }
    // Large blocks go straight from the transport into their final storage; the storage grows
    // by at most what has already arrived, so a false length costs little.
    const size_t have = into.size();
    const size_t chunk = std::min(need, std::max(kReceiveBufferSize, have));
    into.resize(have + chunk);
    size_t got = 0;
    try {
      got = receive({into.data() + have, chunk}, timeoutMs, have, total);
    } catch (...) {
      into.resize(have);  // what did arrive stays readable for the caller's diagnosis
      throw;
    }
    into.resize(have + got);
  }
  pendingLineEnd_ = true;
  dropPendingLineEnd(timeoutMs, false);
}

}  // namespace kro
