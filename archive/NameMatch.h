#pragma once

#include <string_view>

namespace kem::archive {

// Case folding of name comparisons: "a".."z" and the 22 lower-case letters of the Central
// European code page (Windows-1250) become capitals; every other byte stays.
char FoldChar(char c);

// Wildcard comparison of s and n, case-folded. "*" stands for any run of characters and "?" for
// any one character, in either string: a name may hold wildcards as well as the mask.
bool WildMatch(std::string_view s, std::string_view n);

// True when the stems and the extensions match by WildMatch (spec first) and the directory parts
// are equal byte for byte. Both arguments are full paths (see ExpandPath).
bool MatchFileSpec(std::string_view spec, std::string_view name);

}  // namespace kem::archive
