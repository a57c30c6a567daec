#include "SerialLink.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "companions/VisaAddress.h"

namespace kro {

const automation::TypeInfo& SerialLink::typeInfo() const {
  static const automation::TypeInfo info = describe<SerialLink>(kClassName);
  return info;
}

std::optional<std::string> SerialLink::devicePath(std::string_view address) {
  const auto parts = splitVisaAddress(address);
  if (parts.size() != 2 || !equalsNoCase(parts[1], "INSTR") || !startsWithNoCase(parts[0], "ASRL"))
    return std::nullopt;
  const std::string_view rest = parts[0].substr(4);
  if (!rest.empty() && rest.front() == '/') return std::string(rest);
  if (rest.empty() || rest.size() > 3 || rest.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const int port = std::stoi(std::string(rest));
  if (port < 1) return std::nullopt;
  return fmt::format("/dev/ttyS{}", port - 1);
}

SerialLink::SerialLink(std::string address, RS232Config settings)
    : FdIoLink(std::move(address)), settings_(settings) {
  auto path = devicePath(Address());
  if (!path)
    throw companionError(ErrorCode::BadAddress,
                         fmt::format("'{}' is not a serial address (ASRL/dev/ttyS0::INSTR)", Address()),
                         kLinkSource);
  path_ = std::move(*path);
}

SerialLink::~SerialLink() { closeTransport(); }

termios SerialLink::lineSettings(termios tio, const RS232Config& settings) {
  // Raw: replies carry binary blocks, so no echo, no line editing, no CR/LF translation and no
  // XON/XOFF bytes taken out of the data.
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
  tio.c_cflag |= sizes[settings.DataBits() - 5];
  if (settings.Parity() == rs232ParityEven) tio.c_cflag |= PARENB;
  if (settings.Parity() == rs232ParityOdd) tio.c_cflag |= PARENB | PARODD;
  if (settings.StopBits() == 2) tio.c_cflag |= CSTOPB;
  const speed_t speed = baudRateConstant(settings.BaudRate());
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return tio;
}

void SerialLink::openTransport(Millis) {
  // O_NONBLOCK also keeps open() from waiting for a modem's carrier.
  fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0)
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not open {} ({}): {}", Address(), path_, std::strerror(errno)),
                         kLinkSource);
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0)
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not open {}: {} is not a serial line ({})", Address(), path_,
                                     std::strerror(errno)),
                         kLinkSource);
  tio = lineSettings(tio, settings_);
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not set up {} at {} baud: {}", Address(), settings_.BaudRate(),
                                     std::strerror(errno)),
                         kLinkSource);
  ::tcflush(fd_, TCIOFLUSH);
}

void SerialLink::closeTransport() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace kro
