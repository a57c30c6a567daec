#pragma once
// A raw TCP socket link: "TCPIP0::host::port::SOCKET" (the board number may be left out).
// Commands and replies are lines; the connect attempt is bounded by the time-out too.
#include "companions/SystemIoLink.h"
#include "companions/VisaAddress.h"

namespace kro {

class TcpSocketLink final : public SystemIoLink {
 public:
  // `address` must be a socket address (see socketEndpoint); raises BadAddress otherwise.
  explicit TcpSocketLink(std::string address);
  ~TcpSocketLink() override;

  static constexpr const char* kProgId = "KroSocket.SocketLink";
  static constexpr const char* kClassName = "SocketLink";
  const automation::TypeInfo& typeInfo() const override;

  std::string kind() const override { return "TCP socket"; }
  const SocketEndpoint& endpoint() const { return endpoint_; }

 protected:
  void openTransport(Millis timeout) override;
  void closeTransport() noexcept override;
#ifdef _WIN32
  Io readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) override;
  Io writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) override;
#endif

 private:
  SocketEndpoint endpoint_;
};

}  // namespace kro
