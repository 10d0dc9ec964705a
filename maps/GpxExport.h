#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kem::maps {

// What an export wrote, and how many non-blank log lines it could not read.
struct GpxExportCount {
    std::size_t points = 0;
    std::size_t segments = 0;
    std::size_t waypoints = 0;
    std::size_t skippedLines = 0;
};

// The program as the GPX names its creator.
inline constexpr const char* kGpxCreator = "KEM GPS";

// Writes the measurement log read from log (Log.txt lines) to gpx as GPX 1.1: one track, a new
// segment on another day or after more than ten minutes without a line. Each of mapSquares that
// a readable point lies in becomes a waypoint at the first such point; for them log is read
// twice, so it must be able to seek back to its start. Lines that are not readable are skipped
// and counted.
GpxExportCount exportGpx(std::istream& log, std::ostream& gpx,
                         const std::vector<std::string>& mapSquares);

// The outcome for the user, in Lithuanian (UTF-8): what was written and how many lines were
// skipped.
std::string exportSummary(const GpxExportCount& count);

// The squares the saved expedition maps of folder are named after (K26_0307.bmp and
// K26_0307_1.bmp both give K26), each once, in byte order; none for a missing folder.
std::vector<std::string> savedMapSquares(const std::string& folder);

// Exports the log file logPath to the file gpxPath, with the saved maps in the log's folder as
// waypoints. The GPX appears whole or not at all; throws IoError naming the file and the reason
// when the log cannot be read or the GPX cannot be written.
GpxExportCount exportLogFile(const std::string& logPath, const std::string& gpxPath);

}  // namespace kem::maps
