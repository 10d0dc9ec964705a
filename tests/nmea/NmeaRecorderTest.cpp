// Recording what the receiver sent: every byte in order, the file ending only after whole lines,
// also when the disk fills.
#include <gtest/gtest.h>

#include <fstream>

#include "base/IoError.h"
#include "gps/NmeaRecorder.h"
#include "tests/support/TempFolderTest.h"

namespace kem::gps {
namespace {

using NmeaRecorderTest = test::TempFolderTest;
using namespace std::string_literals;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A disk with room for gRoom more bytes.
std::size_t gRoom = 0;
ssize_t writeUntilFull(int fd, const void* data, std::size_t size) {
    if (gRoom == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t n = ::write(fd, data, std::min(size, gRoom));
    gRoom -= static_cast<std::size_t>(std::max<ssize_t>(n, 0));
    return n;
}

constexpr std::time_t kStart = 1796735115;  // 2026-12-08 13:05:15 UTC

TEST_F(NmeaRecorderTest, KeepsEveryByteAsItCameInWholeLines) {
    NmeaRecorder recorder(&writeUntilFull);
    gRoom = 1000;
    const std::string path = recorder.Start(dir.string() + "/", kStart);
    EXPECT_EQ(path, dir.string() + "/NMEA_20261208_130515.nmea");
    struct Step {
        const char* name;
        std::string received;
        std::size_t room;  // bytes the disk takes from now on
        std::string file;  // the whole file afterwards
        bool fails;
    };
    const Step steps[] = {
        {"no line end yet", "$GPRMC,1", 1000, "", false},
        {"line ends, next begins", "23\r\n$GPG", 1000, "$GPRMC,123\r\n", false},
        {"NUL, garbage, a CR alone", "GA,\0\xff\r"s, 1000, "$GPRMC,123\r\n$GPGGA,\0\xff\r"s, false},
        {"LF after the CR", "\n$GPGSV,1\r\n", 1000, "$GPRMC,123\r\n$GPGGA,\0\xff\r\n$GPGSV,1\r\n"s,
         false},
        {"disk full: the lines are lost whole", "$GPGSA,\r\n$GPRMC,2", 3,
         "$GPRMC,123\r\n$GPGGA,\0\xff\r\n$GPGSV,1\r\n"s, true},
        {"room again", "\r\n", 1000, "$GPRMC,123\r\n$GPGGA,\0\xff\r\n$GPGSV,1\r\n$GPRMC,2\r\n"s,
         false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        gRoom = s.room;
        if (s.fails) {
            EXPECT_THROW(recorder.Record(s.received), IoError);
        } else {
            EXPECT_NO_THROW(recorder.Record(s.received));
        }
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
    EXPECT_THROW(NmeaRecorder().Start((dir / "missing/").string(), kStart), IoError);
}

}  // namespace
}  // namespace kem::gps
