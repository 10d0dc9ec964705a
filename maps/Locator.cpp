#include "maps/Locator.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "base/TextRules.h"

namespace kem::maps {
namespace {

// Grid origin: north edge of the letter bands, west edge of number band 0 (20°50' E).
constexpr long double kNorthEdge = 56.5L;
constexpr long double kWestEdge = 21.0L;
constexpr long double kOneSixth = 1.0L / 6.0L;  // rounded to nearest, slightly above 1/6
constexpr long double kBandsPerDegree = 6.0L;   // 10' bands

// Truncation toward zero of an extended-precision value; the grid letters and numbers are cut
// this way, never rounded.
std::int64_t Trunc(long double value) {
    if (!(std::fabs(value) < 0x1p31L)) {
        throw std::range_error("position outside the grid arithmetic");
    }
    return static_cast<std::int64_t>(value);
}

// Character of an 8-bit code; values outside the letters run on (or wrap) by their low byte.
char CodeChar(std::int64_t code) {
    return static_cast<char>(static_cast<std::uint8_t>(code));
}

// Rounds to single precision, as every stored step of a coordinate is.
float Single(long double value) {
    if (!(std::fabs(value) <= std::numeric_limits<float>::max())) {
        throw std::range_error("position outside the grid arithmetic");
    }
    return static_cast<float>(value);
}

// degrees + minutes / 60, rounded to single precision.
float AddMinutes(float degrees, long double minutes) {
    return Single(minutes / 60.0L + degrees);
}

std::int32_t TypedInt(std::string_view text) {
    return TextToInt(Trim(text));
}

float FromTyped(std::string_view deg, std::string_view min, std::string_view sec) {
    float value = static_cast<float>(TypedInt(deg));
    value = AddMinutes(value, TypedInt(min));
    return Single(TypedInt(sec) / 3600.0L + value);
}

float FromRaw(std::string_view raw, std::size_t degreeDigits, char decimalSeparator) {
    const std::size_t split = std::min(raw.size(), degreeDigits);
    const float degrees = static_cast<float>(TextToInt(raw.substr(0, split)));
    return AddMinutes(degrees, TextToFloat(raw.substr(split), decimalSeparator));
}

}  // namespace

LatLong LatLongFromRaw(std::string_view latRaw, std::string_view longRaw, char decimalSeparator) {
    return {FromRaw(latRaw, 2, decimalSeparator), FromRaw(longRaw, 3, decimalSeparator)};
}

LatLong LatLongFromTyped(std::string_view latDeg, std::string_view latMin, std::string_view latSec,
                         std::string_view lonDeg, std::string_view lonMin,
                         std::string_view lonSec) {
    return {FromTyped(latDeg, latMin, latSec), FromTyped(lonDeg, lonMin, lonSec)};
}

std::string SquareCode(LatLong position, BandNumber form) {
    const std::int64_t number = Trunc((position.lon - kWestEdge + kOneSixth) * kBandsPerDegree);
    const std::int64_t letter = Trunc((kNorthEdge - position.lat) * kBandsPerDegree);

    std::string numberText = std::to_string(form == BandNumber::LowByte ? number & 0xFF : number);
    if (numberText.size() == 1) {
        numberText.insert(0, 1, '0');
    }
    const std::string code = CodeChar('A' + letter) + numberText;
    return std::string(Trim(code));
}

std::string CalcKEM(std::string_view latRaw, std::string_view longRaw, char decimalSeparator) {
    return SquareCode(LatLongFromRaw(latRaw, longRaw, decimalSeparator), BandNumber::LowByte);
}

std::string WwlLocator(LatLong position) {
    // Latitude: 10° fields, 1° squares, 2.5' subsquares (24 per degree).
    const float a = Single(position.lat + 90.0L);
    const std::int64_t latField = Trunc(a / 10.0L);
    const long double latInField = a - 10.0L * latField;
    const std::int64_t latSquare = Trunc(Single(latInField));
    const std::int64_t latSub = Trunc((latInField - latSquare) * 24.0L);

    // Longitude: 20° fields, 2° squares, 5' subsquares (12 per degree).
    const float b = Single(position.lon + 180.0L);
    const std::int64_t lonField = Trunc(b / 20.0L);
    const long double lonInField = b - 20.0L * lonField;
    const std::int64_t lonSquare = Trunc(Single(lonInField / 2.0L));
    const std::int64_t lonSub = Trunc((lonInField - 2.0L * lonSquare) * 12.0L);

    return {CodeChar('A' + lonField),  CodeChar('A' + latField), CodeChar('0' + lonSquare),
            CodeChar('0' + latSquare), CodeChar('A' + lonSub),   CodeChar('A' + latSub)};
}

}  // namespace kem::maps
