#include "maps/SquareData.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/IoError.h"
#include "base/TextRules.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

// The text at [from, from + count) of line, shorter or empty where the line ends.
std::string part(const std::string& line, std::size_t from, std::size_t count) {
    return from < line.size() ? line.substr(from, count) : std::string();
}

}  // namespace

std::string findFileNoCase(const std::string& folder, const std::string& name) {
    const fs::path exact = fs::path(folder) / name;
    std::error_code error;
    if (fs::exists(exact, error)) {
        return exact.string();
    }
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (EqualsNoCase(entry.path().filename().string(), name)) {
            return entry.path().string();
        }
    }
    return exact.string();
}

SquareCells readSquareCells(const std::string& dataFile, const std::string& code) {
    std::ifstream in(dataFile, std::ios::binary);
    if (!in) {
        throw IoError::FromErrno("Unable to open", dataFile);
    }
    SquareCells cells;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.substr(0, 3) != code) {
            continue;
        }
        // Positions 5-10, 12-17, ...: six characters and one separator per cell.
        for (std::size_t i = 0; i < cells.size(); ++i) {
            cells[i] = part(line, 4 + 7 * i, 6);
        }
    }
    return cells;
}

}  // namespace kem::maps
