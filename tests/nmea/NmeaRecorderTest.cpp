// Recording what the receiver sent: every byte in order, the file ending only after whole lines,
// also when the disk fills.
#include <gtest/gtest.h>

#include <fstream>

#include "base/IoError.h"
#include "gps/NmeaRecorder.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TempFolderTest.h"

namespace kem::gps {
namespace {

using NmeaRecorderTest = test::TempFolderTest;
using namespace std::string_literals;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using test::gRoom;
constexpr std::time_t kStart = 1796735115;  // 2026-12-08 13:05:15 UTC

TEST_F(NmeaRecorderTest, KeepsEveryByteAsItCameInWholeLines) {
    NmeaRecorder recorder({&test::writeUntilFull});
    gRoom = 1000;
    const std::string path = recorder.Start(dir.string() + "/", kStart);
    EXPECT_EQ(path, dir.string() + "/NMEA_20261208_130515.nmea");
    struct Step {
        std::string received;
        std::size_t room;  // bytes the disk takes from now on; too few for the lines: IoError
        std::string file;  // the whole file afterwards
    };
    const Step steps[] = {
        {"$GPRMC,1", 1000, ""},
        {"23\r\n$GPG", 1000, "$GPRMC,123\r\n"},
        {"GA,\0\xff\r"s, 1000, "$GPRMC,123\r\n$GPGGA,\0\xff\r"s},
        {"\n$GPGSV,1\r\n", 1000, "$GPRMC,123\r\n$GPGGA,\0\xff\r\n$GPGSV,1\r\n"s},
        {"$GPGSA,\r\n$GPRMC,2", 3,
         /* full: lost whole */ "$GPRMC,123\r\n$GPGGA,\0\xff\r\n$GPGSV,1\r\n"s},
        {"\r\n", 1000, "$GPRMC,123\r\n$GPGGA,\0\xff\r\n$GPGSV,1\r\n$GPRMC,2\r\n"s},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.received);
        gRoom = s.room;
        bool failed = false;
        try {
            recorder.Record(s.received);
        } catch (const IoError&) {
            failed = true;
        }
        EXPECT_EQ(failed, s.room < 10);
        EXPECT_EQ(readFile(path), s.file);
    }
    recorder.Record("$GPGGA,9");
    recorder.Stop();
    EXPECT_FALSE(recorder.Recording());
    recorder.Record("after the end\r\n");
    EXPECT_EQ(readFile(path), steps[5].file + "$GPGGA,9");

    // Started again within the same second: a name of its own.
    EXPECT_EQ(recorder.Start(dir.string() + "/", kStart),
              dir.string() + "/NMEA_20261208_130515_1.nmea");
    // A receiver that never ends a line is written in pieces, not kept in memory.
    gRoom = 10000;
    recorder.Record(std::string(5000, 'x'));
    EXPECT_EQ(readFile(dir / "NMEA_20261208_130515_1.nmea").size(), 5000u);
}

}  // namespace
}  // namespace kem::gps
