#pragma once

#include <string>
#include <string_view>

namespace kem::maps {

// A position in decimal degrees, north and east positive, held in single precision as the grid
// arithmetic expects (band boundaries depend on it).
struct LatLong {
    float lat = 0.0f;
    float lon = 0.0f;
};

// From the receiver's raw texts: latRaw "ddmm.mmmm", longRaw "dddmm.mmmm", with decimalSeparator
// as the decimal mark of the minutes. Text that is not a number counts as 0.
LatLong LatLongFromRaw(std::string_view latRaw, std::string_view longRaw, char decimalSeparator);

// From six typed fields: degrees, minutes, seconds of latitude, then of longitude. Each is
// trimmed and read as an integer; text that is not one counts as 0.
LatLong LatLongFromTyped(std::string_view latDeg, std::string_view latMin, std::string_view latSec,
                         std::string_view lonDeg, std::string_view lonMin, std::string_view lonSec);

// How the longitude band number is written: the receiver path keeps its low 8 bits (0..255),
// the QTH dialog writes the whole number (it may be negative).
enum class BandNumber { LowByte, Whole };

// The square code: a letter counting 10' latitude bands southwards from 56°30' N, then the
// longitude band number eastwards from 20°50' E, at least two digits. Throws std::range_error
// for a position so far off that its band numbers do not fit in 32 bits.
std::string SquareCode(LatLong position, BandNumber form);

// Square code of the receiver's raw position texts; throws std::range_error as above.
std::string CalcKEM(std::string_view latRaw, std::string_view longRaw, char decimalSeparator);

// Six-character Maidenhead (WWL) locator, e.g. "KO24PQ". Meant for the typed ranges
// (0..90 degrees north, 0..180 degrees east); beyond them the characters run on past the letters.
std::string WwlLocator(LatLong position);

}  // namespace kem::maps
