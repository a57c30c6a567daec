#include "RS232Config.h"

#include <fmt/format.h>

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
