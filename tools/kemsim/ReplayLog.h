#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace kem::kemsim {

// A recorded NMEA log cut into the seconds in which a receiver sent it: a new second begins at
// each line whose time of day (RMC, GGA or ZDA field 1, GLL field 5, "hhmmss...") differs from
// the one before. Lines keep their text without line ends; lines before the first time belong
// to the first second.
using Second = std::vector<std::string>;
std::vector<Second> SplitIntoSeconds(std::istream& log);

// The "hhmmss" time of day a sentence carries, or empty when it carries none.
std::string_view TimeOfDay(std::string_view line);

}  // namespace kem::kemsim
