// The serial link's transport on POSIX: the device opened raw through termios.
#include <fcntl.h>
#include <fmt/format.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "companions/SerialLink.h"

namespace kro {

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
