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
// pixels are rounded half to even, which decides positions on band edges.
MarkCentre markCentre(std::string_view latRaw, std::string_view longRaw, char decimalSeparator);

}  // namespace kem::maps
