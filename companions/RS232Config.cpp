#include "RS232Config.h"

#include <fmt/format.h>
#include <termios.h>

#include "automation/TypeInfoBuilder.h"
#include "companions/ErrorCodes.h"

namespace kro {

namespace {

[[noreturn]] void badSetting(const char* name, int32_t value, const char* allowed) {
  throw companionError(ErrorCode::BadArgument,
                       fmt::format("{} {} is not a valid RS-232 setting ({})", name, value, allowed),
                       RS232Config::kProgId);
}

}  // namespace

const automation::TypeInfo& RS232Config::typeInfo() const {
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<RS232Config>(kClassName)
          .interface("{5B0C7A43-2E6D-4F1A-9C83-7D21E4A90B11}", "IRS232Config")
          .get("StopBits", 1, &RS232Config::StopBits)
          .put("StopBits", 1, &RS232Config::setStopBits)
          .get("BaudRate", 2, &RS232Config::BaudRate)
          .put("BaudRate", 2, &RS232Config::setBaudRate)
          .get("DataBits", 3, &RS232Config::DataBits)
          .put("DataBits", 3, &RS232Config::setDataBits)
          .get("Parity", 4, &RS232Config::Parity)
          .put("Parity", 4, &RS232Config::setParity)
          .build();
  return info;
}

unsigned baudRateConstant(int32_t baudRate) {
  switch (baudRate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return 0;
  }
}

void RS232Config::setStopBits(int32_t value) {
  if (value != 1 && value != 2) badSetting("StopBits", value, "1 or 2");
  stopBits_ = value;
}

void RS232Config::setBaudRate(int32_t value) {
  if (baudRateConstant(value) == 0) badSetting("BaudRate", value, "a standard rate such as 9600");
  baudRate_ = value;
}

void RS232Config::setDataBits(int32_t value) {
  if (value < 5 || value > 8) badSetting("DataBits", value, "5 to 8");
  dataBits_ = value;
}

void RS232Config::setParity(int32_t value) {
  if (value < rs232ParityEven || value > rs232ParityNone)
    badSetting("Parity", value, "1 even, 2 odd, 3 none");
  parity_ = value;
}

}  // namespace kro
