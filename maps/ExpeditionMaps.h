#pragma once

#include <string>

namespace kem::maps {

// The first free expedition map name: folder + square + "_" + MMDD + ".bmp", else with "_1",
// "_2", ... before ".bmp".
std::string expeditionMapName(const std::string& folder, const std::string& square, int month,
                              int day);

}  // namespace kem::maps
