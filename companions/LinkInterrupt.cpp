#include "LinkInterrupt.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <system_error>

namespace kro {

LinkInterrupt& LinkInterrupt::instance() {
  static LinkInterrupt interrupt;
  return interrupt;
}

LinkInterrupt::LinkInterrupt() {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::system_error(errno, std::generic_category(), "pipe");
}

void LinkInterrupt::trigger() noexcept {
  // One byte left unread keeps the pipe readable: a level, not an event, so that a wait that
  // starts after the trigger ends as well.
  if (!triggered()) (void)!::write(pipe_[1], "!", 1);
}

void LinkInterrupt::reset() noexcept {
  char drain[64];
  while (::read(pipe_[0], drain, sizeof drain) > 0) {
  }
}

bool LinkInterrupt::triggered() const noexcept {
  pollfd p{pipe_[0], POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

}  // namespace kro
