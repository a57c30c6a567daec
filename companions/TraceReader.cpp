#include "TraceReader.h"

#include <fmt/format.h>

#include <algorithm>

#include "companions/ReplyExcerpt.h"
#include "companions/TraceCodec.h"

namespace kro {

namespace {

// 100001 values of up to 15 characters and their commas, with room to spare.
constexpr size_t kMaxAsciiTraceLength = size_t{4} << 20;

std::string traceQuery(int trace) { return fmt::format(":TRAC:DATA? TRACE{}\n", trace); }

// The first entry of an ASCII trace that is no value, for the message.
std::string_view firstBadEntry(std::string_view line) {
  for (size_t start = 0;;) {
    const size_t comma = line.find(',', start);
    const std::string_view entry = line.substr(start, comma == std::string_view::npos ? comma : comma - start);
    if (!parseScpiValue(entry) || comma == std::string_view::npos) return entry;
    start = comma + 1;
  }
}

}  // namespace

void TraceReader::takeSweep() {
  const std::string done = scpi_.query(":INIT:IMM;*OPC?");
  if (parseScpiNumber(done) != 1.0)
    throw companionError(ErrorCode::BadReply,
                         fmt::format(":INIT:IMM;*OPC? to {} returned '{}' where 1 (the sweep is done) was expected",
                                     scpi_.link().Address(), replyExcerpt(done)));
}

std::string TraceReader::formatCommands() const {
  // The byte order is named rather than assumed: SWAPped is little-endian, which is also the
  // order this computer stores floats in, so decoding is a plain widening.
  return format_ == TraceFormat::Real32 ? ":FORM REAL,32;:FORM:BORD SWAP\n" : ":FORM ASC\n";
}

void TraceReader::send(const std::string& commands) {
  scpi_.link().writeBytes({reinterpret_cast<const uint8_t*>(commands.data()), commands.size()},
                          scpi_.timeoutMs());
}

size_t TraceReader::receiveTrace(int trace) {
  IoLink& link = scpi_.link();
  if (format_ == TraceFormat::Real32) {
    link.readBlock(raw_, scpi_.timeoutMs());
    if (raw_.size() % 4 != 0)
      throw companionError(ErrorCode::BadReply,
                           fmt::format("Trace {} from {} is {} bytes long, which is not a whole number "
                                       "of REAL,32 values",
                                       trace, link.Address(), raw_.size()));
    return raw_.size() / 4;
  }
  // An ASCII trace is one line of up to 100001 numbers: longer than an ordinary reply line.
  line_ = link.readLine(scpi_.timeoutMs(), kMaxAsciiTraceLength);
  return line_.empty() ? 0 : static_cast<size_t>(std::count(line_.begin(), line_.end(), ',')) + 1;
}

void TraceReader::decode(double* out, size_t stride, size_t count) {
  if (format_ == TraceFormat::Real32) {
    decodeReal32(raw_, ByteOrder::LittleEndian, out, stride);
    return;
  }
  if (parseAsciiValues(line_, out, count, stride) != count)
    throw companionError(ErrorCode::BadReply,
                         fmt::format("A trace from {} holds an entry that is not a number: '{}'",
                                     scpi_.link().Address(), replyExcerpt(firstBadEntry(line_))));
}

void TraceReader::mismatch(int trace, size_t points, size_t expected) {
  if (expected == 0)
    throw companionError(ErrorCode::BadReply,
                         fmt::format("Trace {} from {} holds no points", trace, scpi_.link().Address()));
  throw companionError(ErrorCode::BadReply,
                       fmt::format("Trace {} from {} has {} points where trace 1 has {}", trace,
                                   scpi_.link().Address(), points, expected));
}

template <class F>
automation::SafeArray TraceReader::releasingOnFailure(F&& read) {
  try {
    return read();
  } catch (...) {
    // Replies still unread would answer nothing the caller asks next.
    scpi_.link().ReleaseLink();
    throw;
  }
}

automation::SafeArray TraceReader::readTrace(int trace) {
  return releasingOnFailure([&] {
    send(formatCommands() + traceQuery(trace));
    const size_t points = receiveTrace(trace);
    if (points == 0) mismatch(trace, 0, 0);
    automation::SafeArray values(automation::vbDouble, {{1, static_cast<int32_t>(points)}});
    decode(values.doubles().data(), 1, points);
    return values;
  });
}

automation::SafeArray TraceReader::readAllTraces() {
  return releasingOnFailure([&] {
    // The three queries go out together; the replies come back in order.
    send(formatCommands() + traceQuery(1) + traceQuery(2) + traceQuery(3));
    const size_t points = receiveTrace(1);
    if (points == 0) mismatch(1, 0, 0);
    automation::SafeArray values(automation::vbDouble, {{1, 3}, {1, static_cast<int32_t>(points)}});
    double* storage = values.doubles().data();
    // Element (t, i) sits at (i - 1) * 3 + (t - 1): each trace fills every third double.
    decode(storage, 3, points);
    for (int trace = 2; trace <= 3; ++trace) {
      const size_t count = receiveTrace(trace);
      if (count != points) mismatch(trace, count, points);
      decode(storage + (trace - 1), 3, points);
    }
    return values;
  });
}

}  // namespace kro
