#include "RS232Config.h"

#include <fmt/format.h>

#include "automation/Conversions.h"
#include "automation/Error.h"
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

// The interface's members by dispatch id, for this class and for the views of another module's
// object alike.
const automation::TypeInfo& IRS232Config::typeInfo() const {
  using Self = IRS232Config;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(RS232Config::kClassName)
          .interface(kIid, "IRS232Config")
          .get("StopBits", 1, &Self::StopBits)
          .put("StopBits", 1, &Self::setStopBits)
          .get("BaudRate", 2, &Self::BaudRate)
          .put("BaudRate", 2, &Self::setBaudRate)
          .get("DataBits", 3, &Self::DataBits)
          .put("DataBits", 3, &Self::setDataBits)
          .get("Parity", 4, &Self::Parity)
          .put("Parity", 4, &Self::setParity)
          .build();
  return info;
}

RS232Config RS232Config::configured(const automation::ObjectPtr& configurations) {
  RS232Config serial;
  if (!configurations) return serial;
  automation::Variant item;
  try {
    item = automation::callMethod(configurations, "Item", {automation::Variant("RS232")});
  } catch (const automation::Error&) {
    // A collection raises for a key it does not hold: no serial configuration was given.
    return serial;
  }
  const automation::ObjectPtr& entry = item.asObject();
  if (!entry) return serial;
  serial.setStopBits(automation::CLng(automation::getProperty(entry, "StopBits")));
  serial.setBaudRate(automation::CLng(automation::getProperty(entry, "BaudRate")));
  serial.setDataBits(automation::CLng(automation::getProperty(entry, "DataBits")));
  serial.setParity(automation::CLng(automation::getProperty(entry, "Parity")));
  return serial;
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
