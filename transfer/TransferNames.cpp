#include "transfer/TransferNames.h"

#include <fmt/format.h>

#include <array>

#include "automation/Error.h"

namespace zel {

UnitLabel unitLabel(std::string_view code) {
  struct Entry {
    std::string_view code;
    std::string_view label;
    int32_t symbolPosition;  // 0: none
  };
  static constexpr std::array<Entry, 13> kUnits{{
      {"DBM", "dBm", 0},
      {"DBMV", "dBmV", 0},
      {"DBUV", "dBmV", 3},
      {"V", "Volts", 0},
      {"W", "Watts", 0},
      {"DBUVM", "dBmV/m", 3},
      {"UVM", "mV/m", 1},
      {"DBPT", "dBpT", 0},
      {"PT", "PTesla", 0},
      {"DBG", "dBG", 0},
      {"GAUS", "Gauss", 0},
      {"DBUAM", "dBmA/m", 3},
      {"UAM", "mA/m", 1},
  }};
  for (const Entry& unit : kUnits) {
    if (unit.code != code) continue;
    UnitLabel result{std::string(unit.label), std::nullopt};
    if (unit.symbolPosition != 0) result.symbolPosition = unit.symbolPosition;
    return result;
  }
  return UnitLabel{std::string(code), std::nullopt};
}

std::string monthAbbreviation(int32_t month) {
  static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12)
    throw automation::Error::object(5, fmt::format("There is no month {}", month), "DataTransfer");
  return kMonths[static_cast<size_t>(month - 1)];
}

std::string transferSheetName(automation::Date when) {
  const automation::DateParts p = when.parts();
  return fmt::format("{} {}, {} {}h {}m {}s", monthAbbreviation(p.month), p.day, p.year, p.hour, p.minute,
                     p.second);
}

}  // namespace zel
