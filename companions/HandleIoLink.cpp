#include "HandleIoLink.h"

#include <windows.h>

#include <algorithm>
#include <system_error>

#include "companions/LinkInterrupt.h"

namespace kro {

namespace {

class WindowsCategory final : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }
  std::string message(int code) const override { return windowsErrorText(static_cast<unsigned long>(code)); }
};

}  // namespace

void throwWindowsError(unsigned long code, const char* what) {
  static const WindowsCategory category;
  throw std::system_error(static_cast<int>(code), category, what);
}

HandleIoLink::HandleIoLink(std::string address) : IoLink(std::move(address)) {
  event_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!event_) throwWindowsError(::GetLastError(), "CreateEvent");
}

HandleIoLink::~HandleIoLink() { ::CloseHandle(event_); }

IoLink::Io HandleIoLink::waitReady(Deadline deadline) {
  const auto left = std::chrono::ceil<Millis>(deadline - std::chrono::steady_clock::now()).count();
  if (left <= 0) return Io::TimedOut;
  const HANDLE events[2] = {LinkInterrupt::instance().event(), event_};
  const DWORD waited =
      ::WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(std::min<Millis::rep>(left, 1 << 30)));
  if (waited == WAIT_OBJECT_0) return Io::Interrupted;
  if (waited == WAIT_OBJECT_0 + 1) return Io::Done;
  if (waited == WAIT_TIMEOUT) return Io::TimedOut;
  throwWindowsError(::GetLastError(), "WaitForMultipleObjects");
}

std::string windowsErrorText(unsigned long code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
  ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

}  // namespace kro
