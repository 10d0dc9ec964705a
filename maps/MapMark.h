#pragma once

#include <string_view>

namespace kem::maps {

struct MarkCentre {
    int x = 0;
    int y = 0;
};

// Where the position mark goes on a 172 x 306 sheet for the receiver's raw texts (latRaw
// "ddmm.mmmm", longRaw "dddmm.mmmm", decimalSeparator as their decimal mark): the minutes past
// the square's southern and western edges, 30.6 pixels per minute of latitude (y from the
// north) and 17.2 per minute of longitude. Intermediate values are single precision and
// pixels are rounded half to even, which decides positions on band edges. A garbled text far
// off the sheet gives a place far off the sheet (at most kFarOff pixels from it).
MarkCentre markCentre(std::string_view latRaw, std::string_view longRaw, char decimalSeparator);

// The QTH calculator's mark for typed minutes and seconds (integer texts, blanks around them
// ignored; anything else counts as 0): minutes + seconds / 60 in single precision, reduced by 10
// until below 10, then y = (10 - m) x 30.6 and x = 17.2 x m', each in single precision and rounded
// half to even. It differs from markCentre by a pixel now and then, as the calculator always has.
MarkCentre qthMarkCentre(std::string_view latMin, std::string_view latSec, std::string_view lonMin,
                         std::string_view lonSec);

// Bound of a mark's centre coordinates: far beyond any sheet, yet drawing around it cannot
// overflow.
inline constexpr int kFarOff = 1 << 24;

}  // namespace kem::maps
