#include "FdIoLink.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "companions/LinkInterrupt.h"

namespace kro {

bool FdIoLink::peerWentAway(int error) const {
  // A socket reset by the instrument and a terminal whose other side has gone (EIO) are the
  // instrument ending the session, not a fault of this computer.
  return isSocket_ ? (error == ECONNRESET || error == EPIPE) : error == EIO;
}

IoLink::Io FdIoLink::waitReady(short events, Deadline deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<Millis>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return Io::TimedOut;
    pollfd p[2] = {{fd_, events, 0}, {LinkInterrupt::instance().fd(), POLLIN, 0}};
    const int n = ::poll(p, 2, static_cast<int>(std::min<Millis::rep>(left, 1 << 30)));
    if (n > 0 && p[1].revents) return Io::Interrupted;
    if (n > 0) return Io::Done;  // ready, or hung up / failed: the transfer itself reports which
    if (n == 0) return Io::TimedOut;
    if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "poll");
  }
}

// The deadlines are the link's own: they measure how long the instrument stays silent, which has
// nothing to do with the application's notion of the date and time.
IoLink::Io FdIoLink::readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) {
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n > 0) {
      count = static_cast<size_t>(n);
      return Io::Done;
    }
    if (n == 0) return Io::Closed;
    if (peerWentAway(errno)) return Io::Closed;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK)
      throw std::system_error(errno, std::generic_category(), "read");
    if (const Io waited = waitReady(POLLIN, deadline); waited != Io::Done) return waited;
  }
}

IoLink::Io FdIoLink::writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) {
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const ssize_t n = isSocket_ ? ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL)
                                : ::write(fd_, data.data(), data.size());
    if (n > 0) {
      count = static_cast<size_t>(n);
      return Io::Done;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && peerWentAway(errno)) return Io::Closed;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
      throw std::system_error(errno, std::generic_category(), "write");
    if (const Io waited = waitReady(POLLOUT, deadline); waited != Io::Done) return waited;
  }
}

}  // namespace kro
