#pragma once
// The reading and writing shared by the links that end in a POSIX file descriptor (a socket,
// a serial device): non-blocking transfers, and poll() for the time-outs and the interrupt.
#include "companions/IoLink.h"

namespace kro {

class FdIoLink : public IoLink {
 public:
  using IoLink::IoLink;

 protected:
  // The open descriptor, or -1; set by the concrete link's openTransport.
  int fd_ = -1;
  // Sockets send with MSG_NOSIGNAL so that a peer that went away is an error, not a signal.
  bool isSocket_ = false;

  Io readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) override;
  Io writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) override;

 private:
  bool peerWentAway(int error) const;
  using Deadline = std::chrono::steady_clock::time_point;
  // Waits until the descriptor is ready for `events` (Done), the deadline passes (TimedOut) or
  // LinkInterrupt is triggered (Interrupted).
  Io waitReady(short events, Deadline deadline);
};

}  // namespace kro
