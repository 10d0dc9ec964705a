#include "maps/GpxExport.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "base/IoError.h"
#include "maps/ExpeditionMaps.h"
#include "maps/GpxWriter.h"
#include "maps/Locator.h"
#include "maps/LogLineReader.h"

namespace kem::maps {
namespace {

constexpr int kLongestPauseSeconds = 10 * 60;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool Blank(const std::string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

// Calls take(point) for every readable line of log, counting the others; from the start of log.
template <typename Take>
std::size_t ReadPoints(std::istream& log, Take take) {
    std::size_t skipped = 0;
    std::string line;
    for (bool first = true; std::getline(log, line); first = false) {
        // An editor that saved the log as UTF-8 may have put a byte order mark before it.
        if (first && line.starts_with(kByteOrderMark)) {
            line.erase(0, kByteOrderMark.size());
        }
        if (const auto point = readLogLine(line)) {
            if (!take(*point)) {
                break;
            }
        } else if (!Blank(line)) {
            ++skipped;
        }
    }
    return skipped;
}

// Decides where a segment ends: the day changes, or the times of two points lie more than the
// longest pause apart (either way, so a log whose clock jumps back is cut too). Points without a
// date or time are judged by what they have.
class Segments {
public:
    bool StartsNew(const LogLine& point) {
        const bool newDay = point.date && m_date && *point.date != *m_date;
        const bool pause =
            point.time && m_time &&
            std::abs(point.time->SecondsOfDay() - m_time->SecondsOfDay()) > kLongestPauseSeconds;
        m_date = point.date ? point.date : m_date;
        m_time = point.time ? point.time : m_time;
        return newDay || pause;
    }

private:
    std::optional<LogDate> m_date;
    std::optional<LogTime> m_time;
};

// The first point of each square that has a saved map, by square.
std::map<std::string, LogLine> FirstPointsInSquares(std::istream& log,
                                                    const std::vector<std::string>& squares) {
    std::map<std::string, LogLine> found;
    ReadPoints(log, [&](const LogLine& point) {
        const std::string square =
            SquareCode({static_cast<float>(point.latitude), static_cast<float>(point.longitude)},
                       BandNumber::LowByte);
        if (std::find(squares.begin(), squares.end(), square) != squares.end()) {
            found.try_emplace(square, point);
        }
        return found.size() < squares.size();
    });
    return found;
}

}  // namespace

GpxExportCount exportGpx(std::istream& log, std::ostream& gpx,
                         const std::vector<std::string>& mapSquares) {
    GpxWriter writer(gpx, kGpxCreator);
    GpxExportCount count;
    if (!mapSquares.empty()) {
        for (const auto& [square, point] : FirstPointsInSquares(log, mapSquares)) {
            writer.Waypoint(square, point);
            ++count.waypoints;
        }
        log.clear();
        log.seekg(0);
    }
    Segments segments;
    count.skippedLines = ReadPoints(log, [&](const LogLine& point) {
        const bool newSegment = segments.StartsNew(point) || count.points == 0;
        writer.Point(point, newSegment);
        count.segments += newSegment ? 1 : 0;
        ++count.points;
        return true;
    });
    writer.Finish();
    return count;
}

std::string exportSummary(const GpxExportCount& count) {
    return "GPX failas įrašytas. Taškų: " + std::to_string(count.points) +
           ", segmentų: " + std::to_string(count.segments) +
           ", žemėlapių: " + std::to_string(count.waypoints) +
           ".\nPraleista neperskaitomų eilučių: " + std::to_string(count.skippedLines) + ".";
}

std::vector<std::string> savedMapSquares(const std::string& folder) {
    std::vector<std::string> squares;
    for (const std::string& name : savedMapNames(folder)) {
        const std::string square = name.substr(0, name.find('_'));
        if (name.find('_') != std::string::npos && !square.empty() &&
            std::find(squares.begin(), squares.end(), square) == squares.end()) {
            squares.push_back(square);
        }
    }
    return squares;
}

GpxExportCount exportLogFile(const std::string& logPath, const std::string& gpxPath) {
    std::ifstream log(logPath, std::ios::binary);
    if (!log) {
        throw IoError::FromErrno("Unable to open", logPath);
    }
    // The GPX must not take the log's place: the trip would be lost.
    std::error_code notSame;
    if (std::filesystem::equivalent(logPath, gpxPath, notSame)) {
        throw IoError("Unable to write " + gpxPath + ": it is the log itself");
    }
    const std::string folder = std::filesystem::path(logPath).parent_path().string();
    const std::string partPath = gpxPath + ".part";
    std::ofstream gpx(partPath, std::ios::binary | std::ios::trunc);
    if (!gpx) {
        throw IoError::FromErrno("Unable to create", gpxPath);
    }
    const GpxExportCount count =
        exportGpx(log, gpx, savedMapSquares(folder.empty() ? "." : folder));
    const bool readFailed = log.bad();
    gpx.close();
    const int error = errno != 0 ? errno : EIO;
    std::error_code ignored;
    if (readFailed || !gpx) {
        std::filesystem::remove(partPath, ignored);
        throw readFailed ? IoError::FromErrno("Unable to read", logPath, error)
                         : IoError::FromErrno("Unable to write", gpxPath, error);
    }
    std::error_code renameError;
    std::filesystem::rename(partPath, gpxPath, renameError);
    if (renameError) {
        std::filesystem::remove(partPath, ignored);
        throw IoError::FromErrno("Unable to write", gpxPath, renameError.value());
    }
    return count;
}

}  // namespace kem::maps
