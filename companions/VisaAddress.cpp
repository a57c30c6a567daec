#include "VisaAddress.h"

#include <fmt/format.h>

#include <cctype>

namespace kro {

std::vector<std::string_view> splitVisaAddress(std::string_view address) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = address.find("::");
    parts.push_back(address.substr(0, at));
    if (at == std::string_view::npos) return parts;
    address.remove_prefix(at + 2);
  }
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool isVisaResource(std::string_view part, std::string_view kind) {
  if (!startsWithNoCase(part, kind)) return false;
  return part.substr(kind.size()).find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<SocketEndpoint> socketEndpoint(std::string_view address) {
  const auto parts = splitVisaAddress(address);
  if (parts.size() != 4 || !isVisaResource(parts[0], "TCPIP") || !equalsNoCase(parts[3], "SOCKET"))
    return std::nullopt;
  const std::string_view port = parts[2];
  if (parts[1].empty() || port.empty() || port.size() > 5 ||
      port.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const int number = std::stoi(std::string(port));
  if (number < 1 || number > 65535) return std::nullopt;
  return SocketEndpoint{std::string(parts[1]), std::string(port)};
}

std::optional<std::string> serialDevicePath(std::string_view address) {
  const auto parts = splitVisaAddress(address);
  if (parts.size() != 2 || !equalsNoCase(parts[1], "INSTR") || !startsWithNoCase(parts[0], "ASRL"))
    return std::nullopt;
  const std::string_view rest = parts[0].substr(4);
#ifndef _WIN32
  if (!rest.empty() && rest.front() == '/') return std::string(rest);
#endif
  if (rest.empty() || rest.size() > 3 || rest.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const int port = std::stoi(std::string(rest));
  if (port < 1) return std::nullopt;
#ifdef _WIN32
  // The device namespace prefix lets COM10 and above open as well as COM1..COM9.
  return fmt::format("\\\\.\\COM{}", port);
#else
  return fmt::format("/dev/ttyS{}", port - 1);
#endif
}

}  // namespace kro
