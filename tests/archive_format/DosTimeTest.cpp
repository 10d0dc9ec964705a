#include "archive/DosTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace kem::archive {
namespace {

// Local-time conversions are tested in a fixed zone with summer time.
class DosTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_savedTz = tz ? tz : "";
        m_hadTz = tz != nullptr;
        setenv("TZ", "Europe/Vilnius", 1);
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

    static std::time_t Local(int year, int month, int day, int hour, int minute, int second) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        t.tm_isdst = -1;
        return std::mktime(&t);
    }

private:
    std::string m_savedTz;
    bool m_hadTz = false;
};

TEST_F(DosTimeTest, PacksLocalTime) {
    // 2025-07-15 13:25:26 local (summer time): 13*2048 + 25*32 + 13, 45*512 + 7*32 + 15.
    const DosDateTime dos = ToDosDateTime(Local(2025, 7, 15, 13, 25, 26));
    EXPECT_EQ(dos.time, 13 * 2048 + 25 * 32 + 13);
    EXPECT_EQ(dos.date, 45 * 512 + 7 * 32 + 15);
    EXPECT_EQ(dos.Packed(), std::uint32_t{dos.date} << 16 | dos.time);
    EXPECT_EQ(DosDateTime::FromPacked(dos.Packed()), dos);
}

TEST_F(DosTimeTest, RoundTripKeepsEvenSecondsAndDropsOddOnes) {
    for (const std::time_t t : {Local(2025, 1, 31, 23, 59, 58), Local(2025, 7, 1, 0, 0, 0),
                                Local(2000, 2, 29, 12, 0, 2)}) {
        EXPECT_EQ(FromDosDateTime(ToDosDateTime(t)), t);
    }
    const std::time_t odd = Local(2025, 3, 5, 8, 30, 59);
    EXPECT_EQ(FromDosDateTime(ToDosDateTime(odd)), odd - 1);
}

TEST_F(DosTimeTest, ClampsYearsOutsideTheForm) {
    const DosDateTime early = ToDosDateTime(Local(1975, 6, 1, 12, 0, 0));
    EXPECT_EQ(early, (DosDateTime{0, 1 * 32 + 1}));  // 1980-01-01 00:00:00
    const DosDateTime late = ToDosDateTime(Local(2150, 6, 1, 12, 0, 0));
    EXPECT_EQ(late.date, 127 * 512 + 12 * 32 + 31);
    EXPECT_EQ(late.time, 23 * 2048 + 59 * 32 + 29);
}

TEST_F(DosTimeTest, RejectsFieldsOutOfRange) {
    const std::uint16_t noon = 12 * 2048;
    const auto date = [](int year, int month, int day) {
        return static_cast<std::uint16_t>((year - 1980) * 512 + month * 32 + day);
    };
    EXPECT_TRUE(FromDosDateTime({noon, date(2024, 2, 29)}));
    EXPECT_FALSE(FromDosDateTime({noon, date(2023, 2, 29)}));
    EXPECT_FALSE(FromDosDateTime({noon, date(2024, 4, 31)}));
    EXPECT_FALSE(FromDosDateTime({noon, date(2024, 0, 1)}));
    EXPECT_FALSE(FromDosDateTime({noon, date(2024, 13, 1)}));
    EXPECT_FALSE(FromDosDateTime({noon, date(2024, 1, 0)}));
    EXPECT_FALSE(FromDosDateTime({24 * 2048, date(2024, 1, 1)}));
    EXPECT_FALSE(FromDosDateTime({60 * 32, date(2024, 1, 1)}));
    EXPECT_FALSE(FromDosDateTime({30, date(2024, 1, 1)}));  // 60 seconds
    EXPECT_FALSE(FromDosDateTime({0, 0}));
}

}  // namespace
}  // namespace kem::archive
