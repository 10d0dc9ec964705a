#include "maps/MapMark.h"

#include <cmath>

#include "base/TextRules.h"

namespace kem::maps {
namespace {

std::string_view dropFirst(std::string_view text, std::size_t count) {
    return text.substr(std::min(count, text.size()));
}

int nearestEven(float value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

MarkCentre markCentre(std::string_view latRaw, std::string_view longRaw, char decimalSeparator) {
    // "ddm" and "dddm" go: what stays is the minutes past the square's edge, 0 to 10.
    const long double latMinutes = TextToFloat(dropFirst(latRaw, 3), decimalSeparator);
    const long double longMinutes = TextToFloat(dropFirst(longRaw, 4), decimalSeparator);
    const float fromNorth = static_cast<float>(10.0L - latMinutes);
    MarkCentre centre;
    centre.y = nearestEven(static_cast<float>(30.6L * fromNorth));
    centre.x = nearestEven(static_cast<float>(17.2L * static_cast<float>(longMinutes)));
    return centre;
}

}  // namespace kem::maps
