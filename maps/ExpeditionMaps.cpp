#include "maps/ExpeditionMaps.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/TextRules.h"

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

std::vector<std::string> savedMapNames(const std::string& folder) {
    constexpr std::string_view kExtension = ".bmp";
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && name.size() >= kExtension.size() &&
            EqualsNoCase(std::string_view(name).substr(name.size() - kExtension.size()),
                         kExtension)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kem::maps
