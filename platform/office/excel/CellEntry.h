#pragma once
// What Excel makes of text put into a cell, as if it were typed there under the en-US locale
// (1033): text that reads as a number becomes the number ("100245", "-1,234.5", "1.5E-07"),
// TRUE and FALSE in any letter case the Booleans, text that reads as a date or time the Date
// ("12/4/2026 8:16:18 AM", "8:16 PM", "2026-12-04"). A leading apostrophe keeps the rest as
// text, and so does a cell formatted as text ("@"). Everything else stays text as given.
#include <string_view>

#include "automation/Variant.h"

namespace office::excel {

automation::Variant enteredValue(std::string_view text, std::string_view numberFormat);

}  // namespace office::excel
