#pragma once
// Makes the IO link object an address text names.
#include <memory>
#include <string_view>

#include "companions/IoLink.h"
#include "companions/RS232Config.h"

namespace kro {

// "TCPIP0::host::port::SOCKET" gives a TcpSocketLink, "ASRL1::INSTR" a SerialLink with
// `serialSettings`. Raises BadAddress, saying which forms are understood, for anything else.
// The link is not opened: it opens with its first operation.
std::shared_ptr<IoLink> makeIoLink(std::string_view address, const RS232Config& serialSettings = {});

}  // namespace kro
