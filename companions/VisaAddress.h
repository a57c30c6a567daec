#pragma once
// Reading instrument address texts of the "RESOURCE::part::part::CLASS" form.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kro {

// The parts between "::" separators, as given.
std::vector<std::string_view> splitVisaAddress(std::string_view address);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// `part` is `kind` followed by an optional board number ("TCPIP", "TCPIP0", "gpib1").
bool isVisaResource(std::string_view part, std::string_view kind);

// The host and port of a socket address, "TCPIP0::host::port::SOCKET" (the board number may be
// left out); nullopt when the text is not one.
struct SocketEndpoint {
  std::string host;
  std::string port;
};
std::optional<SocketEndpoint> socketEndpoint(std::string_view address);

// The device a serial address names; nullopt when the text is not one. "ASRLn::INSTR" is the
// n-th serial port: /dev/ttyS(n-1) on POSIX, COMn on Windows. On POSIX "ASRL/dev/ttyUSB0::INSTR"
// names any device path (a pseudo-terminal too).
std::optional<std::string> serialDevicePath(std::string_view address);

// A serial address as this computer's ports are usually named, for lists and messages.
#ifdef _WIN32
inline constexpr const char* kSerialAddressExample = "ASRL1::INSTR";
#else
inline constexpr const char* kSerialAddressExample = "ASRL/dev/ttyS0::INSTR";
#endif

}  // namespace kro
