#include "maps/ExpeditionMaps.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kem::maps {

std::string expeditionMapName(const std::string& folder, const std::string& square, int month,
                              int day) {
    char mmdd[8];
    std::snprintf(mmdd, sizeof mmdd, "%02d%02d", month, day);
    const std::string base = folder + square + "_" + mmdd;
    std::string name = base + ".bmp";
    std::error_code error;
    for (int n = 1; std::filesystem::exists(name, error); ++n) {
        name = base + "_" + std::to_string(n) + ".bmp";
    }
    return name;
}

}  // namespace kem::maps
