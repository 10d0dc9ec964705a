// The measurement log as GPX, read back by independent tools: gpsbabel for the points and
// waypoints, xmllint for the form and the segments.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/IoError.h"
#include "maps/GpxExport.h"
#include "tests/support/TempFolderTest.h"

namespace kem::maps {
namespace {

using GpxExportTest = test::TempFolderTest;
using namespace std::string_literals;

// What a command printed; fails the test when it did not succeed.
std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return out;
}

// The value of an XPath expression over the file, by xmllint.
std::string xpath(const std::string& gpx, const std::string& expression) {
    std::string value = run("xmllint --xpath \"" + expression + "\" " + gpx);
    while (!value.empty() && value.back() == '\n') {
        value.pop_back();
    }
    return value;
}

// gpsbabel's unicsv rows, without the header, as lists of fields.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        rows.emplace_back(1);
        for (char c : line) {
            if (c == ',') {
                rows.back().emplace_back();
            } else if (c != '"' && c != '\r') {
                rows.back().back() += c;
            }
        }
    }
    return rows;
}

// A trip of two days with what hands and disks do to a log: a byte order mark from an editor, a
// line cut short, foreign bytes, an empty line.
const std::string kLog =
    "\xEF\xBB\xBF"
    "2026.07.01  10:00:00 UTC\t54\xB0"
    "41' 01\" N\t25\xB0"
    "17' 00\" E\t\t\r\n"
    "2026.07.01  10:00:15 UTC\t54\xB0"
    "41' 02\" N\t25\xB0"
    "17' 03\" E\t112,4 m\t28,1 m\r\n"
    "2026.07.01  10:00:30 UTC\t54\xB0"
    "41'\r\n"
    "\x81\x00\x9f\xff\r\n"
    "2026.07.01  10:11:00 UTC\t54\xB0"
    "55' 00\" N\t25\xB0"
    "17' 00\" E\t120,0 m\t28,1 m\r\n"
    "2026.07.01  10:21:00 UTC\t54\xB0"
    "55' 30\" N\t25\xB0"
    "18' 00\" E\t121,5 m\t28,1 m\r\n"
    "2026.07.02  10:21:05 UTC\t54\xB0"
    "56' 00\" N\t25\xB0"
    "18' 30\" E\t121,5 m\t28,1 m\r\n"
    "\r\n"
    "10:21:20 UTC\t54\xB0"
    "56' 01\" N\t25\xB0"
    "18' 31\" E\t100 f\t28 f\r\n"
    "\t33\xB0"
    "52' 07\" S\t151\xB0"
    "12' 36\" W\t-3.5 m\t"s;

TEST_F(GpxExportTest, GpsbabelReadsBackEveryPointSegmentAndSavedMap) {
    std::ofstream(dir / "Log.txt", std::ios::binary) << kLog;
    for (const char* map : {"K26_0701.bmp", "K26_0701_1.bmp", "J26_0701.bmp", "A00_0101.bmp",
                            "_0701.bmp", "notes.txt"}) {
        touch(map);
    }
    const std::string gpx = (dir / "trip.gpx").string();
    const GpxExportCount count = exportLogFile((dir / "Log.txt").string(), gpx);
    EXPECT_EQ(count.points, 7u);
    EXPECT_EQ(count.segments, 3u);
    EXPECT_EQ(count.waypoints, 2u);
    EXPECT_EQ(count.skippedLines, 2u);

    run("xmllint --noout " + gpx);
    EXPECT_EQ(xpath(gpx, "string(/*/@creator)"), "KEM GPS");
    std::string segments;
    for (int s = 1; s <= 4; ++s) {
        segments += xpath(gpx, "count(//*[local-name()='trkseg'][" + std::to_string(s) + "]/*)");
        segments += " ";
    }
    // A pause of 10:45 cuts, one of exactly ten minutes does not; so does the next day.
    EXPECT_EQ(segments, "2 2 3 0 ");

    struct Point {
        const char *lat, *lon, *ele, *date, *time;
    };
    const Point points[] = {
        {"54.683611", "25.283333", "", "2026/07/01", "10:00:00"},
        {"54.683889", "25.284167", "112.4", "2026/07/01", "10:00:15"},
        {"54.916667", "25.283333", "120", "2026/07/01", "10:11:00"},
        {"54.925000", "25.300000", "121.5", "2026/07/01", "10:21:00"},
        {"54.933333", "25.308333", "121.5", "2026/07/02", "10:21:05"},
        {"54.933611", "25.308611", "30.48", "", ""},  // feet; no date, so no time
        {"-33.868611", "-151.210000", "-3.5", "", ""},
    };
    const auto track = csvRows(run("gpsbabel -t -i gpx -f " + gpx + " -o unicsv -F -"));
    ASSERT_EQ(track.size(), std::size(points));
    for (std::size_t i = 0; i < track.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const auto& row = track[i];  // No, Latitude, Longitude, Altitude, Date, Time
        ASSERT_EQ(row.size(), 6u);
        EXPECT_EQ(row[1], points[i].lat);
        EXPECT_EQ(row[2], points[i].lon);
        if (*points[i].ele == '\0') {
            EXPECT_EQ(row[3], "");
        } else {
            EXPECT_NEAR(std::stod(row[3]), std::stod(points[i].ele), 0.05);  // printed to 0.1 m
        }
        EXPECT_EQ(row[4], points[i].date);
        EXPECT_EQ(row[5], points[i].time);
    }
    // One waypoint per square with a saved map that the trip entered, at its first point there.
    const auto waypoints = csvRows(run("gpsbabel -w -i gpx -f " + gpx + " -o unicsv -F -"));
    ASSERT_EQ(waypoints.size(), 2u);  // No, Latitude, Longitude, Name, Altitude, Date, Time
    EXPECT_EQ(waypoints[0], (std::vector<std::string>{"1", "54.916667", "25.283333", "J26", "120.0",
                                                      "2026/07/01", "10:11:00"}));
    EXPECT_EQ(waypoints[1], (std::vector<std::string>{"2", "54.683611", "25.283333", "K26", "",
                                                      "2026/07/01", "10:00:00"}));
}

TEST_F(GpxExportTest, FailuresNameTheFileAndLeaveNoGpx) {
    const std::string log = (dir / "Log.txt").string();
    EXPECT_THROW(exportLogFile(log, (dir / "a.gpx").string()), IoError);
    std::ofstream(log) << "\n";
    EXPECT_THROW(exportLogFile(log, (dir / "none" / "a.gpx").string()), IoError);
    EXPECT_THROW(exportLogFile(dir.string(), (dir / "a.gpx").string()), IoError);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.gpx"));
    EXPECT_FALSE(std::filesystem::exists(dir / "a.gpx.part"));
}

}  // namespace
}  // namespace kem::maps
