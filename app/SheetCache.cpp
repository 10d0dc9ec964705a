#include "app/SheetCache.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

namespace kem {
namespace {

namespace fs = std::filesystem;

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
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
        const std::string ext = lowerAscii(entry.path().extension().string());
        if (ext == ".z") {
            archiveStems.insert(lowerAscii(entry.path().stem().string()));
        } else if (ext == ".bmp" && name.size() > 4) {
            bitmaps.push_back(entry.path());
        }
    }
    for (const auto& bitmap : bitmaps) {
        if (archiveStems.contains(lowerAscii(bitmap.stem().string()))) {
            fs::remove(bitmap, error);
        }
    }
}

}  // namespace kem
