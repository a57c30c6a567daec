#include "SerialLink.h"

#include <fmt/format.h>

#include "companions/VisaAddress.h"

namespace kro {

const automation::TypeInfo& SerialLink::typeInfo() const {
  static const automation::TypeInfo info = describe<SerialLink>(kClassName);
  return info;
}

SerialLink::SerialLink(std::string address, RS232Config settings)
    : SystemIoLink(std::move(address)), settings_(settings) {
  auto path = serialDevicePath(Address());
  if (!path)
    throw companionError(ErrorCode::BadAddress,
                         fmt::format("'{}' is not a serial address ({})", Address(), kSerialAddressExample),
                         kLinkSource);
  path_ = std::move(*path);
}

SerialLink::~SerialLink() { closeTransport(); }

}  // namespace kro
