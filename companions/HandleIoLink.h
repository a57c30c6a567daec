#pragma once
// What the links that end in a Windows handle (a socket, a COM port) share: an event the
// transport signals when it may have made progress, and a wait on it that also ends at the
// deadline or when LinkInterrupt is triggered.
#include <cstdint>
#include <string>

#include "companions/IoLink.h"

namespace kro {

class HandleIoLink : public IoLink {
 public:
  explicit HandleIoLink(std::string address);
  ~HandleIoLink() override;
  HandleIoLink(const HandleIoLink&) = delete;
  HandleIoLink& operator=(const HandleIoLink&) = delete;

 protected:
  // INVALID_SOCKET and INVALID_HANDLE_VALUE alike.
  static constexpr uintptr_t kNoHandle = ~uintptr_t{0};
  // The open socket or file, or kNoHandle; set by the concrete link's openTransport.
  uintptr_t handle_ = kNoHandle;
  // Manual-reset; signalled by the transport (WSAEventSelect, an overlapped transfer).
  void* event_ = nullptr;

  using Deadline = std::chrono::steady_clock::time_point;
  // Waits until event_ is signalled (Done), the deadline passes (TimedOut) or LinkInterrupt is
  // triggered (Interrupted, which wins when both are signalled).
  Io waitReady(Deadline deadline);
};

// The system's text for a Windows or Winsock error code, without its line end.
std::string windowsErrorText(unsigned long code);
// Raises a std::system_error whose message is the system's text for `code`.
[[noreturn]] void throwWindowsError(unsigned long code, const char* what);

}  // namespace kro
