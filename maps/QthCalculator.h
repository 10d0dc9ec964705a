#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kem::maps {

// What the QTH calculator takes and gives, without its window: typed coordinates checked and
// turned into the square code and the WWL locator, and the typed codes it accepts.

// The six typed coordinate fields (bytes as typed): latitude degrees, minutes, seconds, then
// longitude degrees, minutes, seconds.
using TypedCoordinates = std::array<std::string, 6>;

// Which fields lie outside their range (degrees 0..90 and 0..180, minutes and seconds 0..59),
// in field order. A field is read as the computation reads it: trimmed, and text that is not an
// integer counts as 0 and so passes.
std::array<bool, 6> outOfRange(const TypedCoordinates& fields);

struct QthResult {
    std::string square;   // the longitude band number written in full, so it may be negative
    std::string locator;  // six characters, e.g. "KO24PQ"
};

// The square code and the WWL locator of checked coordinates.
QthResult calcQth(const TypedCoordinates& fields);

// A square of the grid: a letter A..P, then 0..3, then 0..9 (the text as given, not trimmed).
bool isSquareCode(std::string_view code);

// A WWL locator: two letters A..R, two digits, two letters A..X (upper case).
bool isWwlLocator(std::string_view locator);

}  // namespace kem::maps
