#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kem::gps {

// Text rules of the decoder. No conversion ever fails: text that is not a number counts as 0.

// Without leading and trailing bytes of code 32 or less.
std::string_view Trim(std::string_view text);

// Replaces the first "." of text by decimalSeparator (text without "." is unchanged).
void SubstituteSeparator(std::string& text, char decimalSeparator);

// A decimal integer with optional sign; 0 for anything else (including overflow).
std::int32_t TextToInt(std::string_view text);

// A number written with decimalSeparator as its decimal point (optional sign, digits, optional
// fraction, optional exponent); 0.0 for anything else, including values beyond long double.
long double TextToFloat(std::string_view text, char decimalSeparator);

// Fixed notation with one decimal, decimalSeparator as the point, no thousands separator; an
// exact half rounds away from zero. Infinite or NaN values give "0" + separator + "0".
std::string FormatOneDecimal(float value, char decimalSeparator);

// ASCII letters A-Z from position from on lowered; other bytes as they are.
void LowerAscii(std::string& text, std::size_t from = 0);

}  // namespace kem::gps
