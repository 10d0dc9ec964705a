#include "maps/SquareData.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/IoError.h"
#include "base/TextRules.h"
#include "maps/Locator.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

// One line of the file at a time, without its line end.
class DataLines {
public:
    explicit DataLines(const std::string& dataFile) : m_in(dataFile, std::ios::binary) {
        if (!m_in) {
            throw IoError::FromErrno("Unable to open", dataFile);
        }
    }
    bool next(std::string& line) {
        if (!std::getline(m_in, line)) {
            return false;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return true;
    }

private:
    std::ifstream m_in;
};

// The text at [from, from + count) of line, shorter or empty where the line ends.
std::string part(const std::string& line, std::size_t from, std::size_t count) {
    return from < line.size() ? line.substr(from, count) : std::string();
}

// Positions 5-10, 12-17, ...: six characters and one separator per cell.
SquareCells cellsOfLine(const std::string& line) {
    SquareCells cells;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i] = part(line, 4 + 7 * i, 6);
    }
    return cells;
}

}  // namespace

std::string findFileNoCase(const std::string& folder, const std::string& name) {
    // Joined as text, so that a name beginning with "/" (a square letter may be any byte)
    // stays inside the folder.
    const std::string exact = folder.ends_with('/') ? folder + name : folder + '/' + name;
    std::error_code error;
    if (fs::exists(exact, error)) {
        return exact;
    }
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (EqualsNoCase(entry.path().filename().string(), name)) {
            return entry.path().string();
        }
    }
    return exact;
}

SquareCells readSquareCells(const std::string& dataFile, const std::string& code) {
    DataLines lines(dataFile);
    SquareCells cells;
    std::string line;
    while (lines.next(line)) {
        if (line.substr(0, 3) == code) {
            cells = cellsOfLine(line);
        }
    }
    return cells;
}

std::map<std::string, SquareCells> readAllSquareCells(const std::string& dataFile) {
    DataLines lines(dataFile);
    std::map<std::string, SquareCells> all;
    std::string line;
    while (lines.next(line)) {
        all[line.substr(0, 3)] = cellsOfLine(line);
    }
    return all;
}

std::string findSquareOfLocator(const std::string& dataFile, std::string_view locator) {
    DataLines lines(dataFile);
    std::string line;
    while (lines.next(line)) {
        if (line.find(locator) != std::string::npos) {
            return line.substr(0, 3);
        }
    }
    return {};
}

std::string squareDataText() {
    constexpr float kBand = 10.0f / 60.0f;
    std::string text;
    for (int row = 0; row < kGridLetters; ++row) {
        const float north = 56.5f - row * kBand;
        for (int column = 0; column < kGridNumbers; ++column) {
            const float west = 20.0f + 50.0f / 60.0f + column * kBand;
            text += SquareCode({north - kBand / 2, west + kBand / 2}, BandNumber::LowByte) + ' ';
            // Subsquares: 2 columns of 5' by 4 rows of 2.5'; each locator from its centre.
            for (int cell = 0; cell < 8; ++cell) {
                const LatLong middle{north - (cell / 2 + 0.5f) * kBand / 4,
                                     west + (cell % 2 + 0.5f) * kBand / 2};
                text += WwlLocator(middle) + ' ';
            }
            text += "\r\n";
        }
    }
    return text;
}

}  // namespace kem::maps
