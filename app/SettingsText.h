#pragma once

#include <string>
#include <string_view>

namespace kem {

// A box text as an integer: leading blanks and a sign are allowed, then decimal digits, or hex
// digits after "$" or "0x"; anything else (trailing text, overflow, nothing at all) gives def.
int textToIntDef(std::string_view text, int def);

// The text without leading and trailing blanks and control characters (codes 0 to 32).
std::string trimText(std::string_view text);

}  // namespace kem
