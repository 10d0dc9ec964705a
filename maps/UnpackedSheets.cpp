#include "maps/UnpackedSheets.h"

#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "base/TextRules.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

std::string lowered(std::string text) {
    LowerAscii(text);
    return text;
}

}  // namespace

void deleteUnpackedSheets(const std::string& mapFolder) {
    std::error_code error;
    std::set<std::string> archiveStems;
    std::vector<fs::path> bitmaps;
    for (const auto& entry : fs::directory_iterator(mapFolder, error)) {
        if (!entry.is_regular_file(error)) {
            continue;
        }
        const std::string name = entry.path().filename().string();
        const std::string ext = lowered(entry.path().extension().string());
        if (ext == ".z") {
            archiveStems.insert(lowered(entry.path().stem().string()));
        } else if (ext == ".bmp" && name.size() > 4) {
            bitmaps.push_back(entry.path());
        }
    }
    for (const auto& bitmap : bitmaps) {
        if (archiveStems.contains(lowered(bitmap.stem().string()))) {
            fs::remove(bitmap, error);
        }
    }
}

}  // namespace kem::maps
