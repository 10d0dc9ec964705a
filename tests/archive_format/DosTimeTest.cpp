#include "archive/DosTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace kem::archive {
namespace {

// Local-time conversions are tested in a fixed zone with summer time: UTC+2, UTC+3 from the
// last Sunday of March to the last Sunday of October. A POSIX rule needs no zone database.
class DosTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_savedTz = tz ? tz : "";
        m_hadTz = tz != nullptr;
        setenv("TZ", "EET-2EEST,M3.5.0/3,M10.5.0/4", 1);
        tzset();
    }
    void TearDown() override {
        if (m_hadTz) {
            setenv("TZ", m_savedTz.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string m_savedTz;
    bool m_hadTz = false;
};

constexpr std::uint16_t DosTime(int hour, int minute, int second) {
    return static_cast<std::uint16_t>(hour * 2048 + minute * 32 + second / 2);
}
constexpr std::uint16_t DosDate(int year, int month, int day) {
    return static_cast<std::uint16_t>((year - 1980) * 512 + month * 32 + day);
}

TEST_F(DosTimeTest, ConvertsInLocalTime) {
    struct Case {
        std::time_t utc;
        DosDateTime local;
    };
    const Case cases[] = {
        {1752575126, {DosTime(13, 25, 26), DosDate(2025, 7, 15)}},  // 10:25:26 UTC, summer
        {1738360798, {DosTime(23, 59, 58), DosDate(2025, 1, 31)}},  // 21:59:58 UTC, winter
        {1751317200, {DosTime(0, 0, 0), DosDate(2025, 7, 1)}},      // previous day in UTC
        {951818402, {DosTime(12, 0, 2), DosDate(2000, 2, 29)}},
        {1741156259, {DosTime(8, 30, 58), DosDate(2025, 3, 5)}},  // an odd second rounds down
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToDosDateTime(c.utc), c.local) << c.utc;
        EXPECT_EQ(FromDosDateTime(c.local), c.utc - c.utc % 2) << c.utc;
    }
    const DosDateTime dos = cases[0].local;
    EXPECT_EQ(dos.Packed(), 0x5AEF6B2Du);  // date high, time low
    EXPECT_EQ(DosDateTime::FromPacked(dos.Packed()), dos);
}

TEST_F(DosTimeTest, ClampsYearsOutsideTheForm) {
    EXPECT_EQ(ToDosDateTime(170845200), (DosDateTime{0, DosDate(1980, 1, 1)}));  // 1975
    EXPECT_EQ(ToDosDateTime(5693360400), (DosDateTime{DosTime(23, 59, 58), DosDate(2107, 12, 31)}));
    // Beyond what the calendar functions can represent at all.
    EXPECT_EQ(ToDosDateTime(std::numeric_limits<std::time_t>::max()), ToDosDateTime(5693360400));
    EXPECT_EQ(ToDosDateTime(std::numeric_limits<std::time_t>::min()), ToDosDateTime(170845200));
}

TEST_F(DosTimeTest, RejectsFieldsOutOfRange) {
    const std::uint16_t noon = DosTime(12, 0, 0);
    EXPECT_TRUE(FromDosDateTime({noon, DosDate(2024, 2, 29)}));
    EXPECT_FALSE(FromDosDateTime({noon, DosDate(2023, 2, 29)}));
    EXPECT_FALSE(FromDosDateTime({noon, DosDate(2024, 4, 31)}));
    EXPECT_FALSE(FromDosDateTime({noon, DosDate(2024, 0, 1)}));
    EXPECT_FALSE(FromDosDateTime({noon, DosDate(2024, 13, 1)}));
    EXPECT_FALSE(FromDosDateTime({noon, DosDate(2024, 1, 0)}));
    EXPECT_FALSE(FromDosDateTime({24 * 2048, DosDate(2024, 1, 1)}));
    EXPECT_FALSE(FromDosDateTime({60 * 32, DosDate(2024, 1, 1)}));
    EXPECT_FALSE(FromDosDateTime({30, DosDate(2024, 1, 1)}));  // 60 seconds
    EXPECT_FALSE(FromDosDateTime({0, 0}));
}

}  // namespace
}  // namespace kem::archive
