#pragma once
// The names a transfer writes: amplitude-unit labels (for trace headings, the reference-level
// annotation and the chart's value axis), month abbreviations and the new sheet's name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/Date.h"

namespace zel {

struct UnitLabel {
  std::string label;
  // The 1-based position of the one character drawn in the "Symbol" font, where the letter m
  // shows as the Greek mu; none for most units.
  std::optional<int32_t> symbolPosition;
};

// The label of an amplitude-unit code as the instrument server reports it ("DBM" gives "dBm").
// Codes are compared exactly; a code not in the table is its own label.
UnitLabel unitLabel(std::string_view code);

// "Jan" .. "Dec"; a month outside 1 to 12 raises the object error 5.
std::string monthAbbreviation(int32_t month);

// The name of a transfer's sheet: "Dec 4, 2026 8h 16m 18s".
std::string transferSheetName(automation::Date when);

}  // namespace zel
