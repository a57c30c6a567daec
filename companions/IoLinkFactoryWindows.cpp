// The Windows build's links: none yet. The instrument is reached over COM by the companions'
// own servers, which the library does not carry; an address is refused with the reason.
#include <fmt/format.h>

#include "companions/ErrorCodes.h"
#include "companions/IoLinkFactory.h"
#include "companions/VisaAddress.h"

namespace kro {

std::shared_ptr<IoLink> makeIoLink(std::string_view address, const RS232Config&) {
  throw companionError(ErrorCode::BadAddress,
                       fmt::format("Cannot open {}: this build of the library opens no instrument links", address),
                       kLinkSource);
}

}  // namespace kro
