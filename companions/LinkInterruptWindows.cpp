#include "LinkInterrupt.h"

#include <windows.h>

#include <system_error>

namespace kro {

LinkInterrupt& LinkInterrupt::instance() {
  static LinkInterrupt interrupt;
  return interrupt;
}

LinkInterrupt::LinkInterrupt() {
  // Manual reset: a level, not an event, so that a wait that starts after the trigger ends too.
  event_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!event_) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
}

void LinkInterrupt::trigger() noexcept { ::SetEvent(event_); }

void LinkInterrupt::reset() noexcept { ::ResetEvent(event_); }

bool LinkInterrupt::triggered() const noexcept { return ::WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

}  // namespace kro
