// Fuzz target for the text a user types or a file carries into the automation and office
// layers: A1 references, column letters, VB's conversions of text (CDbl, CLng, CInt, CBool,
// CDate) and dates. Every input converts or raises automation::Error; a converted number
// survives CStr and back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "office/excel/A1Reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (auto area = office::excel::parseA1(text)) {
    if (area->row1 < 1 || area->column1 < 1 || area->row2 < area->row1 || area->column2 < area->column1) std::abort();
  }
  if (auto column = office::excel::columnNumber(text)) office::excel::columnLetters(*column);
  const automation::Variant value(text);
  for (auto convert : {+[](const automation::Variant& v) { automation::CDbl(v); },
                       +[](const automation::Variant& v) { automation::CLng(v); },
                       +[](const automation::Variant& v) { automation::CInt(v); },
                       +[](const automation::Variant& v) { automation::CBool(v); },
                       +[](const automation::Variant& v) { automation::CStr(automation::CDate(v)); }}) {
    try {
      convert(value);
    } catch (const automation::Error&) {
    }
  }
  if (auto number = automation::parseNumber(text); number && std::isfinite(*number)) {
    const auto again = automation::parseNumber(automation::formatDouble(*number));
    if (!again) std::abort();
  }
  return 0;
}
