#include "office/Errors.h"

#include <fmt/format.h>

namespace office {

automation::Error excelError(std::string description) {
  return automation::Error(kExcelError, std::move(description), kExcelSource);
}

automation::Error applicationDefinedError() {
  return excelError("Application-defined or object-defined error");
}

automation::Error unableToSet(std::string_view property, std::string_view className) {
  return excelError(fmt::format("Unable to set the {} property of the {} class", property, className));
}

automation::Error unableToGet(std::string_view property, std::string_view className) {
  return excelError(fmt::format("Unable to get the {} property of the {} class", property, className));
}

automation::Error methodFailed(std::string_view method, std::string_view className) {
  return excelError(fmt::format("{} method of {} class failed", method, className));
}

automation::Error globalMethodFailed(std::string_view method) {
  return excelError(fmt::format("Method '{}' of object '_Global' failed", method));
}

automation::Error wordError(int32_t number, std::string description) {
  return automation::Error(number, std::move(description), kWordSource);
}

automation::Error invalidCall() { return automation::Error::vb(automation::vbErrInvalidProcedureCall); }

}  // namespace office
