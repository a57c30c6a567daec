// The serial link's transport on Windows: the COM port opened for overlapped transfers, whose
// completion the link's event signals, so that every wait also watches the time-out and the stop.
#include <windows.h>

#include <fmt/format.h>

#include "companions/SerialLink.h"

namespace kro {

DCB SerialLink::lineSettings(DCB line, const RS232Config& settings) {
  // Raw: replies carry binary blocks, so no XON/XOFF bytes taken out of the data, no
  // hardware handshake, no bytes dropped or replaced, and an error does not stop the line.
  line.DCBlength = sizeof line;
  line.fBinary = TRUE;
  line.fOutxCtsFlow = line.fOutxDsrFlow = FALSE;
  line.fDsrSensitivity = FALSE;
  line.fOutX = line.fInX = FALSE;
  line.fErrorChar = line.fNull = FALSE;
  line.fAbortOnError = FALSE;
  line.fDtrControl = DTR_CONTROL_ENABLE;
  line.fRtsControl = RTS_CONTROL_ENABLE;
  line.BaudRate = baudRateConstant(settings.BaudRate());
  line.ByteSize = static_cast<BYTE>(settings.DataBits());
  line.fParity = settings.Parity() != rs232ParityNone;
  line.Parity = settings.Parity() == rs232ParityEven  ? EVENPARITY
                : settings.Parity() == rs232ParityOdd ? ODDPARITY
                                                      : NOPARITY;
  line.StopBits = settings.StopBits() == 2 ? TWOSTOPBITS : ONESTOPBIT;
  return line;
}

void SerialLink::openTransport(Millis) {
  const HANDLE port = ::CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE)
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not open {} ({}): {}", Address(), path_,
                                     windowsErrorText(::GetLastError())),
                         kLinkSource);
  handle_ = reinterpret_cast<uintptr_t>(port);
  DCB line{};
  line.DCBlength = sizeof line;
  if (!::GetCommState(port, &line))
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not open {}: {} is not a serial line ({})", Address(), path_,
                                     windowsErrorText(::GetLastError())),
                         kLinkSource);
  line = lineSettings(line, settings_);
  if (!::SetCommState(port, &line))
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not set up {} at {} baud: {}", Address(), settings_.BaudRate(),
                                     windowsErrorText(::GetLastError())),
                         kLinkSource);
  // A read ends as soon as any byte has arrived, and after a second with none; the link's own
  // wait decides when silence is a time-out. Writes have no driver time-out either.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = 1000;
  ::SetCommTimeouts(port, &timeouts);
  ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
}

void SerialLink::closeTransport() noexcept {
  if (handle_ != kNoHandle) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kNoHandle;
}

namespace {

// One overlapped transfer on `port`, waited for through `wait`; a wait that ends without the
// transfer (time-out, stop) cancels it, and what had moved by then still counts.
template <class Start, class Wait>
DWORD overlapped(HANDLE port, HANDLE event, Start start, Wait wait, bool& waitedOut, const char* what) {
  OVERLAPPED request{};
  request.hEvent = event;
  waitedOut = false;
  if (!start(&request)) {
    if (const DWORD error = ::GetLastError(); error != ERROR_IO_PENDING) throwWindowsError(error, what);
    if (!wait()) {
      waitedOut = true;
      ::CancelIo(port);
    }
  }
  DWORD moved = 0;
  if (!::GetOverlappedResult(port, &request, &moved, TRUE)) {
    const DWORD error = ::GetLastError();
    if (!(waitedOut && error == ERROR_OPERATION_ABORTED)) throwWindowsError(error, what);
  }
  return moved;
}

}  // namespace

IoLink::Io SerialLink::readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) {
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  const auto port = reinterpret_cast<HANDLE>(handle_);
  const auto size = static_cast<DWORD>(std::min<size_t>(buffer.size(), MAXDWORD));
  for (;;) {
    Io waited = Io::Done;
    bool waitedOut = false;
    const DWORD got = overlapped(
        port, static_cast<HANDLE>(event_),
        [&](OVERLAPPED* request) { return ::ReadFile(port, buffer.data(), size, nullptr, request); },
        [&] { return (waited = waitReady(deadline)) == Io::Done; }, waitedOut, "ReadFile");
    if (got > 0) {
      count = got;
      return Io::Done;
    }
    if (waitedOut) return waited;
    // The driver's second passed with nothing: the link's own time-out may still have time.
    if (std::chrono::steady_clock::now() >= deadline) return Io::TimedOut;
  }
}

IoLink::Io SerialLink::writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) {
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  const auto port = reinterpret_cast<HANDLE>(handle_);
  const auto size = static_cast<DWORD>(std::min<size_t>(data.size(), MAXDWORD));
  Io waited = Io::Done;
  bool waitedOut = false;
  const DWORD sent = overlapped(
      port, static_cast<HANDLE>(event_),
      [&](OVERLAPPED* request) { return ::WriteFile(port, data.data(), size, nullptr, request); },
      [&] { return (waited = waitReady(deadline)) == Io::Done; }, waitedOut, "WriteFile");
  if (sent > 0) {
    count = sent;
    return Io::Done;
  }
  return waitedOut ? waited : Io::TimedOut;
}

}  // namespace kro
