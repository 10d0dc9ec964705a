#pragma once

#include <string>
#include <vector>

namespace kem::e2e {

// A place inside a square: degrees and whole minutes of latitude, the longitude field.
struct Place {
    std::string latitude;  // ddmm; the minutes' fraction is added per second
    std::string longitude;
};
// The middle of a square of the grid, worked out from the grid's own definition (rows A to P of
// 10' southward from 56°30' N, columns 00 to 39 of 10' eastward from 20°50' E), not by the
// program's rule.
Place MiddleOf(const std::string& square);

// The sheets of A00 and B00 are mostly sea, so they are easily told from each other and from
// white.
inline const Place kA00{"5625", "02055.0000"};
inline const Place kB00{"5615", "02055.0000"};

// A receiver's stream that stands at each place for `seconds` seconds, one RMC and GGA a second.
std::string standingAt(const std::vector<Place>& places, int seconds);
// The clipboard's text after the fix of second t at the place (decimal commas).
std::string clipboardAt(const Place& place, int t);

// A log line as the program writes it: five fields, whole.
bool wholeLine(const std::string& line);

}  // namespace kem::e2e
