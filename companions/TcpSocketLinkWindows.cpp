// The socket link's transport on Windows: a Winsock socket whose readiness WSAEventSelect
// reports through the link's event, so that every wait also watches the time-out and the stop.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <fmt/format.h>

#include <climits>
#include <memory>

#include "companions/LinkInterrupt.h"
#include "companions/TcpSocketLink.h"

namespace kro {

namespace {

void startWinsock() {
  static const int started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data);
  }();
  if (started != 0) throwWindowsError(static_cast<unsigned long>(started), "WSAStartup");
}

// A reset or aborted connection is the instrument ending the session, not a fault of this computer.
bool peerWentAway(int error) {
  return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAESHUTDOWN || error == WSAENETRESET;
}

}  // namespace

void TcpSocketLink::openTransport(Millis timeout) {
  startWinsock();
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  // Name resolution cannot be waited on beside the stop; it is quick for the numeric and local
  // names an instrument has, and the connect below is what the time-out bounds.
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  if (const int error = ::getaddrinfo(endpoint_.host.c_str(), endpoint_.port.c_str(), &hints, &found))
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not connect to {}: {}", Address(), windowsErrorText(error)),
                         kLinkSource);
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);

  int lastError = WSAEHOSTUNREACH;
  for (const addrinfo* at = found; at; at = at->ai_next) {
    closeTransport();
    const SOCKET s = ::WSASocketW(at->ai_family, at->ai_socktype, at->ai_protocol, nullptr, 0,
                                  WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) {
      lastError = ::WSAGetLastError();
      continue;
    }
    handle_ = s;
    // Also makes the socket non-blocking, for the connect and for every transfer after it.
    ::WSAEventSelect(s, static_cast<HANDLE>(event_), FD_CONNECT);
    if (::connect(s, at->ai_addr, static_cast<int>(at->ai_addrlen)) != 0) {
      if (const int error = ::WSAGetLastError(); error != WSAEWOULDBLOCK) {
        lastError = error;
        continue;
      }
      const Io waited = waitReady(deadline);
      if (waited == Io::Interrupted)
        throw companionError(ErrorCode::Interrupted, fmt::format("Stopped while connecting to {}", Address()),
                             kLinkSource);
      if (waited == Io::TimedOut)
        throw companionError(ErrorCode::Timeout,
                             fmt::format("Could not connect to {}: no answer within {} ms", Address(),
                                         timeout.count()),
                             kLinkSource);
      WSANETWORKEVENTS events{};
      ::WSAEnumNetworkEvents(s, static_cast<HANDLE>(event_), &events);
      if (const int error = events.iErrorCode[FD_CONNECT_BIT]; error != 0) {
        lastError = error;
        continue;
      }
    }
    ::WSAEventSelect(s, static_cast<HANDLE>(event_), FD_READ | FD_WRITE | FD_CLOSE);
    // Queries are short lines answered at once; Nagle's delay would dominate every exchange.
    const BOOL noDelay = TRUE;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    return;
  }
  throw companionError(ErrorCode::ConnectFailed,
                       fmt::format("Could not connect to {}: {}", Address(), windowsErrorText(lastError)),
                       kLinkSource);
}

void TcpSocketLink::closeTransport() noexcept {
  if (handle_ != kNoHandle) ::closesocket(handle_);
  handle_ = kNoHandle;
  ::ResetEvent(static_cast<HANDLE>(event_));
}

// The deadlines are the link's own: they measure how long the instrument stays silent.
IoLink::Io TcpSocketLink::readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) {
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  const int size = static_cast<int>(std::min<size_t>(buffer.size(), INT_MAX));
  for (;;) {
    const int n = ::recv(handle_, reinterpret_cast<char*>(buffer.data()), size, 0);
    if (n > 0) {
      count = static_cast<size_t>(n);
      return Io::Done;
    }
    if (n == 0) return Io::Closed;
    const int error = ::WSAGetLastError();
    if (peerWentAway(error)) return Io::Closed;
    if (error != WSAEWOULDBLOCK) throwWindowsError(static_cast<unsigned long>(error), "recv");
    if (const Io waited = waitReady(deadline); waited != Io::Done) return waited;
    // Resets the event; the recv above has re-armed FD_READ, so no arrival is missed.
    WSANETWORKEVENTS events{};
    ::WSAEnumNetworkEvents(handle_, static_cast<HANDLE>(event_), &events);
  }
}

IoLink::Io TcpSocketLink::writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) {
  const Deadline deadline = std::chrono::steady_clock::now() + timeout;
  const int size = static_cast<int>(std::min<size_t>(data.size(), INT_MAX));
  for (;;) {
    const int n = ::send(handle_, reinterpret_cast<const char*>(data.data()), size, 0);
    if (n > 0) {
      count = static_cast<size_t>(n);
      return Io::Done;
    }
    const int error = ::WSAGetLastError();
    if (peerWentAway(error)) return Io::Closed;
    if (error != WSAEWOULDBLOCK) throwWindowsError(static_cast<unsigned long>(error), "send");
    if (const Io waited = waitReady(deadline); waited != Io::Done) return waited;
    WSANETWORKEVENTS events{};
    ::WSAEnumNetworkEvents(handle_, static_cast<HANDLE>(event_), &events);
  }
}

}  // namespace kro
