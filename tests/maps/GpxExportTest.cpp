// The measurement log as GPX, read back by independent tools: gpsbabel for the points and
// waypoints, xmllint for the form and the segments.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "base/IoError.h"
#include "maps/GpxExport.h"
#include "tests/support/TempFolderTest.h"

namespace kem::maps {
namespace {

using GpxExportTest = test::TempFolderTest;
using namespace std::string_literals;

// What a command printed, without CRs and the last line end; fails the test when it failed.
std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        out += c == '\r' ? "" : std::string(1, static_cast<char>(c));
    }
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return out.ends_with('\n') ? out.substr(0, out.size() - 1) : out;
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

    // Seconds of arc as gpsbabel prints degrees (six decimals); elevation in metres (100 feet
    // is 30.48 m), to a tenth; no time without a date.
    EXPECT_EQ(run("gpsbabel -t -i gpx -f " + gpx + " -o unicsv -F -"),
              "No,Latitude,Longitude,Altitude,Date,Time\n"
              "1,54.683611,25.283333,,2026/07/01,10:00:00\n"
              "2,54.683889,25.284167,112.4,2026/07/01,10:00:15\n"
              "3,54.916667,25.283333,120.0,2026/07/01,10:11:00\n"
              "4,54.925000,25.300000,121.5,2026/07/01,10:21:00\n"
              "5,54.933333,25.308333,121.5,2026/07/02,10:21:05\n"
              "6,54.933611,25.308611,30.5,,\n"
              "7,-33.868611,-151.210000,-3.5,,");
    // One waypoint per square with a saved map that the trip entered, at its first point there.
    EXPECT_EQ(run("gpsbabel -w -i gpx -f " + gpx + " -o unicsv -F -"),
              "No,Latitude,Longitude,Name,Altitude,Date,Time\n"
              "1,54.916667,25.283333,\"J26\",120.0,2026/07/01,10:11:00\n"
              "2,54.683611,25.283333,\"K26\",,2026/07/01,10:00:00");

    run("xmllint --noout " + gpx);
    EXPECT_EQ(run("xmllint --xpath 'string(/*/@creator)' " + gpx), "KEM GPS");
    // A pause of 10:45 cuts, one of exactly ten minutes does not; nor does the next day.
    std::string segments;
    for (const char* s : {"1", "2", "3", "4"}) {
        segments += run("xmllint --xpath \"count(//*[local-name()='trkseg'][" + std::string(s) +
                        "]/*)\" " + gpx) +
                    " ";
    }
    EXPECT_EQ(segments, "2 2 3 0 ");
}

TEST_F(GpxExportTest, FailuresNameTheFileAndLeaveNoGpx) {
    const std::string log = (dir / "Log.txt").string();
    EXPECT_THROW(exportLogFile(log, (dir / "a.gpx").string()), IoError);
    std::ofstream(log) << "\n";
    EXPECT_THROW(exportLogFile(log, (dir / "none" / "a.gpx").string()), IoError);
    EXPECT_THROW(exportLogFile(dir.string(), (dir / "a.gpx").string()), IoError);
    EXPECT_THROW(exportLogFile(log, (dir / "." / "Log.txt").string()), IoError);
    EXPECT_EQ(std::filesystem::file_size(log), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.gpx"));
    EXPECT_FALSE(std::filesystem::exists(dir / "a.gpx.part"));
}

}  // namespace
}  // namespace kem::maps
