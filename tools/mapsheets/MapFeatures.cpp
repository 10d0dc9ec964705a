#include "tools/mapsheets/MapFeatures.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "base/IoError.h"

namespace kem::mapsheets {
namespace {

std::ifstream OpenText(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw IoError::FromErrno("Unable to open", path);
    }
    return in;
}

// The fields of a line split at tabs and blanks (tabs only when names may hold blanks).
std::vector<std::string> Split(const std::string& line, const char* separators) {
    std::vector<std::string> fields;
    std::size_t start = line.find_first_not_of(separators);
    while (start != std::string::npos) {
        const std::size_t end = line.find_first_of(separators, start);
        fields.push_back(line.substr(start, end - start));
        start = end == std::string::npos ? end : line.find_first_not_of(separators, end);
    }
    return fields;
}

template <typename T>
bool Parse(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

// A latitude and longitude that exist (from_chars also reads "nan" and "inf").
bool OnEarth(double lat, double lon) {
    return std::isfinite(lat) && std::isfinite(lon) && std::abs(lat) <= 90 && std::abs(lon) <= 180;
}

int LevelOf(const std::string& header) {
    const std::size_t at = header.find("Level ");
    int level = 0;
    if (at != std::string::npos) {
        std::istringstream(header.substr(at + 6)) >> level;
    }
    return level;
}

}  // namespace

std::vector<Polyline> ReadLines(const std::string& path) {
    std::ifstream in = OpenText(path);
    std::vector<Polyline> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with(">")) {
            lines.push_back({LevelOf(line), {}});
            continue;
        }
        const auto fields = Split(line, " \t\r");
        double lon = 0;
        double lat = 0;
        if (fields.size() == 2 && Parse(fields[0], lon) && Parse(fields[1], lat) &&
            OnEarth(lat, lon)) {
            if (lines.empty()) {
                lines.emplace_back();
            }
            lines.back().points.push_back(ToGrid(lat, lon));
        }
    }
    return lines;
}

std::vector<Town> ReadTowns(const std::string& path) {
    std::ifstream in = OpenText(path);
    std::vector<Town> towns;
    std::string line;
    while (std::getline(in, line)) {
        const auto fields = Split(line, "\t\r");
        double lat = 0;
        double lon = 0;
        Town town;
        if (fields.size() == 5 && Parse(fields[0], lat) && Parse(fields[1], lon) &&
            OnEarth(lat, lon) && Parse(fields[2], town.population)) {
            town.place = ToGrid(lat, lon);
            town.name = fields[4];
            towns.push_back(std::move(town));
        }
    }
    return towns;
}

}  // namespace kem::mapsheets
