#pragma once
// VB's conversion functions with VB's rules under the en-US locale: CInt and CLng round halves
// to even, a result out of range raises 6 "Overflow", text that is no number raises 13
// "Type mismatch", Null raises 94 "Invalid use of Null", Empty is 0 or "", True is -1. Text in
// "&H" hex or "&O" octal gives the bits of the type asked for: CInt("&HFFFF") is -1.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Date.h"
#include "Variant.h"

namespace automation {

int16_t CInt(const Variant& value);
int32_t CLng(const Variant& value);
uint8_t CByte(const Variant& value);
double CDbl(const Variant& value);
bool CBool(const Variant& value);
std::string CStr(const Variant& value);
Date CDate(const Variant& value);

// A number in en-US text: blanks around it, an optional sign, digits with optional thousands
// commas, a decimal point, an exponent ("1.5E-07", "2D3"); nullopt for anything else.
std::optional<double> parseNumber(std::string_view text);

// The text CStr gives for a Double: at most 15 significant digits, trailing zeros dropped,
// scientific notation ("1E+20", "1.5E-07") when the decimal exponent is 15 or more or below -4.
std::string formatDouble(double value);

// The VB Boolean as the 16-bit VARIANT_BOOL: True is -1.
constexpr int16_t toVariantBool(bool value) { return value ? vbTrue : vbFalse; }

}  // namespace automation
