#include "maps/MapMark.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/TextRules.h"

namespace kem::maps {
namespace {

std::string_view dropFirst(std::string_view text, std::size_t count) {
    return text.substr(std::min(count, text.size()));
}

// Single precision, saturating: a garbled number beyond float's range must not reach an
// undefined conversion.
float single(long double value) {
    constexpr long double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kMax, kMax));
}

// Rounded half to even, held within kFarOff of the sheet.
int pixel(float value) {
    if (!(std::fabs(value) < kFarOff)) {
        return value < 0 ? -kFarOff : kFarOff;
    }
    return static_cast<int>(std::nearbyint(value));
}

// minutes + seconds / 60 of two typed integer texts, in single precision.
float typedMinutes(std::string_view minutes, std::string_view seconds) {
    return single(TextToInt(Trim(minutes)) + TextToInt(Trim(seconds)) / 60.0L);
}

// Minutes past the square's edge: the calculator subtracts 10 until below 10. Below 2^25
// minutes every such subtraction is exact in single precision, so fmod leaves the same
// remainder; for larger (garbled) minutes the subtraction stalls, and fmod still ends.
float pastEdge(float minutes) {
    return minutes >= 10.0f ? std::fmod(minutes, 10.0f) : minutes;
}

}  // namespace

MarkCentre markCentre(std::string_view latRaw, std::string_view longRaw, char decimalSeparator) {
    // "ddm" and "dddm" go: what stays is the minutes past the square's edge, 0 to 10.
    const long double latMinutes = TextToFloat(dropFirst(latRaw, 3), decimalSeparator);
    const long double longMinutes = TextToFloat(dropFirst(longRaw, 4), decimalSeparator);
    const float fromNorth = single(10.0L - latMinutes);
    MarkCentre centre;
    centre.y = pixel(single(30.6L * fromNorth));
    centre.x = pixel(single(17.2L * single(longMinutes)));
    return centre;
}

MarkCentre qthMarkCentre(std::string_view latMin, std::string_view latSec, std::string_view lonMin,
                         std::string_view lonSec) {
    const float m = pastEdge(typedMinutes(latMin, latSec));
    const float mLong = pastEdge(typedMinutes(lonMin, lonSec));
    MarkCentre centre;
    centre.y = pixel(single((10.0L - m) * 30.6L));
    centre.x = pixel(single(17.2L * mLong));
    return centre;
}

}  // namespace kem::maps
