#pragma once

#include <string>
#include <vector>

namespace kem::maps {

// The first free expedition map name: folder + square + "_" + MMDD + ".bmp", else with "_1",
// "_2", ... before ".bmp". Names are bytes (a square letter may be any byte) and are used as
// they are, both here and when the map is written.
std::string expeditionMapName(const std::string& folder, const std::string& square, int month,
                              int day);

// The saved maps of folder: the names (bytes as stored) of its files ending in ".bmp" in any
// letter case, in byte order; none when the folder is missing.
std::vector<std::string> savedMapNames(const std::string& folder);

}  // namespace kem::maps
