#pragma once
// Faults the server can be told to commit, to try how clients cope with a misbehaving
// instrument. They apply from the next received message on, to every connection.
#include <chrono>
#include <cstddef>
#include <optional>

namespace sim {

struct Faults {
  std::chrono::milliseconds replyDelay{0};     // delay every reply
  bool stall = false;                          // read and execute commands but never answer queries
  std::optional<std::size_t> closeAfterBytes;  // a reply of at least this many bytes is cut
                                               // there and the connection closed (0: at once)
  bool malformedReply = false;                 // answer with garbage: a non-number for numeric
                                               // queries, a broken header for blocks
  bool refuseConnections = false;              // close every new connection at once
  bool nonFiniteTrace = false;                 // traces start with NaN, +Inf and -Inf
};

}  // namespace sim
