#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kem {

// Text rules shared by the whole program: received sentences, settings, box texts and data
// files are 8-bit byte strings. No conversion ever fails: text that is not a number gives 0 (or
// the caller's default).

// Without leading and trailing bytes of code 32 or less.
std::string_view Trim(std::string_view text);

// Replaces the first "." of text by decimalSeparator (text without "." is unchanged).
void SubstituteSeparator(std::string& text, char decimalSeparator);

// A decimal integer with optional sign; 0 for anything else (including overflow).
std::int32_t TextToInt(std::string_view text);

// A box text as an integer: leading blanks and a sign are allowed, then decimal digits, or hex
// digits after "$" or "0x"; anything else (trailing text, overflow, nothing at all) gives def.
std::int32_t TextToIntDef(std::string_view text, std::int32_t def);

// A number written with decimalSeparator as its decimal point (optional sign, digits, optional
// fraction, optional exponent); 0.0 for anything else, including values beyond long double.
long double TextToFloat(std::string_view text, char decimalSeparator);

// Fixed notation with one decimal, decimalSeparator as the point, no thousands separator; an
// exact half rounds away from zero. Infinite or NaN values give "0" + separator + "0".
std::string FormatOneDecimal(float value, char decimalSeparator);

// ASCII letters A-Z from position from on lowered; other bytes as they are.
void LowerAscii(std::string& text, std::size_t from = 0);

// Equal when ASCII letters are compared without regard to case; other bytes must match exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace kem
