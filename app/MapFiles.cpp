#include "app/MapFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/IoError.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

bool sameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

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
        if (sameNoCase(entry.path().filename().string(), name)) {
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

std::string expeditionMapName(const std::string& folder, const std::string& square, int month,
                              int day) {
    char mmdd[8];
    std::snprintf(mmdd, sizeof mmdd, "%02d%02d", month, day);
    const std::string base = folder + square + "_" + mmdd;
    std::string name = base + ".bmp";
    std::error_code error;
    for (int n = 1; fs::exists(name, error); ++n) {
        name = base + "_" + std::to_string(n) + ".bmp";
    }
    return name;
}

void appendLogLine(const std::string& logFile, const gps::GpsFix& fix) {
    std::error_code error;
    if (!fs::is_regular_file(logFile, error)) {
        throw IoError("Unable to open " + logFile + ": No such file or directory");
    }
    std::ofstream out(logFile, std::ios::binary | std::ios::app);
    out << fix.DateTimeText << '\t' << fix.LatText << '\t' << fix.LongText << '\t'
        << fix.AltitudeText << '\t' << fix.GeoidText << "\r\n";
    out.flush();
    if (!out) {
        throw IoError::FromErrno("Unable to write to", logFile);
    }
}

}  // namespace kem
