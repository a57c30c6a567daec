#include "LinkInterrupt.h"

#include <atomic>

// No link of this build waits on a descriptor, so the stop is a flag that each connect, send and
// receive looks at before it starts.
namespace kro {

namespace {
std::atomic<bool> stopped{false};
}

LinkInterrupt& LinkInterrupt::instance() {
  static LinkInterrupt interrupt;
  return interrupt;
}

LinkInterrupt::LinkInterrupt() = default;

void LinkInterrupt::trigger() noexcept { stopped = true; }

void LinkInterrupt::reset() noexcept { stopped = false; }

bool LinkInterrupt::triggered() const noexcept { return stopped; }

}  // namespace kro
