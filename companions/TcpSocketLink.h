#pragma once
// A raw TCP socket link: "TCPIP0::host::port::SOCKET" (the board number may be left out).
// Commands and replies are lines; the connect attempt is bounded by the time-out too.
#include <asio.hpp>
#include <optional>

#include "companions/FdIoLink.h"

namespace kro {

class TcpSocketLink final : public FdIoLink {
 public:
  // `address` must be a socket address (see parse); raises BadAddress otherwise.
  explicit TcpSocketLink(std::string address);
  ~TcpSocketLink() override;

  struct Endpoint {
    std::string host;
    std::string port;
  };
  // The host and port of a socket address; nullopt when the text is not one.
  static std::optional<Endpoint> parse(std::string_view address);

  static constexpr const char* kProgId = "KroSocket.SocketLink";
  static constexpr const char* kClassName = "SocketLink";
  const automation::TypeInfo& typeInfo() const override;

  std::string kind() const override { return "TCP socket"; }
  const Endpoint& endpoint() const { return endpoint_; }

 protected:
  void openTransport(Millis timeout) override;
  void closeTransport() noexcept override;

 private:
  Endpoint endpoint_;
};

}  // namespace kro
