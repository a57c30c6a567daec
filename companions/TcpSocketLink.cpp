#include "TcpSocketLink.h"

#include <fmt/format.h>

namespace kro {

const automation::TypeInfo& TcpSocketLink::typeInfo() const {
  static const automation::TypeInfo info = describe<TcpSocketLink>(kClassName);
  return info;
}

TcpSocketLink::TcpSocketLink(std::string address) : SystemIoLink(std::move(address)) {
  auto endpoint = socketEndpoint(Address());
  if (!endpoint)
    throw companionError(ErrorCode::BadAddress,
                         fmt::format("'{}' is not a socket address (TCPIP0::host::port::SOCKET)", Address()),
                         kLinkSource);
  endpoint_ = std::move(*endpoint);
}

TcpSocketLink::~TcpSocketLink() { closeTransport(); }

}  // namespace kro

