#include "IoLinkFactory.h"

#include <fmt/format.h>

#include "companions/SerialLink.h"
#include "companions/TcpSocketLink.h"
#include "companions/VisaAddress.h"

namespace kro {

std::shared_ptr<IoLink> makeIoLink(std::string_view address, const RS232Config& serialSettings) {
  if (socketEndpoint(address)) return std::make_shared<TcpSocketLink>(std::string(address));
  if (serialDevicePath(address))
    return std::make_shared<SerialLink>(std::string(address), serialSettings);
  const auto parts = splitVisaAddress(address);
  if (isVisaResource(parts[0], "GPIB"))
    throw companionError(ErrorCode::BadAddress,
                         fmt::format("Cannot open {}: there is no GPIB interface on this computer", address),
                         kLinkSource);
  throw companionError(ErrorCode::BadAddress,
                       fmt::format("'{}' is not an instrument address this computer can open; use "
                                   "TCPIP0::host::port::SOCKET or {}",
                                   address, kSerialAddressExample),
                       kLinkSource);
}

}  // namespace kro
