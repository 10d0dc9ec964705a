// Reading measurement log lines back: the texts the fix panel writes, hand edits and damage.
#include <gtest/gtest.h>

#include <string>

#include "maps/LogLineReader.h"

namespace kem::maps {
namespace {

// The tables are written in UTF-8; the log holds the degree sign as the Windows-1257 byte.
std::string cp1257(std::string text) {
    for (auto at = text.find("\xC2\xB0"); at != std::string::npos; at = text.find("\xC2\xB0")) {
        text.replace(at, 2, "\xB0");
    }
    return text;
}

TEST(LogLineReader, ReadsTheFixPanelTexts) {
    constexpr double kNone = -1e9;
    struct Case {
        const char* name;
        const char* line;
        LogDate date;  // year 0: none
        int seconds;   // seconds of the day; -1: none
        double lat, lon, alt;
    };
    const Case cases[] = {
        {"full line",
         "1994.03.23  12:35:19 UTC\t48°07' 01\" N\t11°31' 00\" E\t545,4 m\t46,9 m\r\n",
         {1994, 3, 23},
         45319,
         48.11694444444444,
         11.516666666666667,
         545.4},
        {"point mark, no line end",
         "2026.12.08  00:00:00 UTC\t48°07' 01\" N\t11°31' 00\" E\t-12.5 m\t",
         {2026, 12, 8},
         0,
         48.11694444444444,
         11.516666666666667,
         -12.5},
        {"south west, three-digit longitude",
         "\t54°41' 59\" S\t125°05' 30\" W\t\t",
         {},
         -1,
         -54.69972222222222,
         -125.09166666666667,
         kNone},
        {"time without date",
         "23:59:59 UTC\t05°00' 00\" N\t05°00' 00\" E\t1 m\t2 m",
         {},
         86399,
         5.0,
         5.0,
         1.0},
        {"date without time",
         "2024.02.29\t90°00' 00\" N\t180°00' 00\" E\t0,0 m\t0,0 m",
         {2024, 2, 29},
         -1,
         90.0,
         180.0,
         0.0},
        {"feet",
         "\t48°07' 01\" N\t11°31' 00\" E\t100 f\t",
         {},
         -1,
         48.11694444444444,
         11.516666666666667,
         30.48},
        {"unknown unit: no altitude",
         "\t48°07' 01\" N\t11°31' 00\" E\t100 x\t",
         {},
         -1,
         48.11694444444444,
         11.516666666666667,
         kNone},
        {"hand edit: blanks, one-digit minutes, lower case",
         " 1994.03.23 12:35:19 UTC \t 48°7'1\" n \t11° 31'  0\"  e\t 545 m \t",
         {1994, 3, 23},
         45319,
         48.11694444444444,
         11.516666666666667,
         545.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = readLogLine(cp1257(c.line));
        ASSERT_TRUE(got);
        EXPECT_EQ(got->date, c.date.year ? std::optional(c.date) : std::nullopt);
        EXPECT_EQ(got->time ? got->time->SecondsOfDay() : -1, c.seconds);
        EXPECT_NEAR(got->latitude, c.lat, 1e-12);
        EXPECT_NEAR(got->longitude, c.lon, 1e-12);
        EXPECT_NEAR(got->altitude.value_or(kNone), c.alt, 1e-9);
    }
    // A log edited in a UTF-8 editor keeps its degree signs in two bytes.
    EXPECT_TRUE(
        readLogLine("\t48\xC2\xB0"
                    "07' 01\" N\t11\xC2\xB0"
                    "31' 00\" E\t\t"));
}

TEST(LogLineReader, DamagedLinesAreNotReadable) {
    for (const char* line : {
             "",
             "\t48°07' 01\" N\t11°31' 00\" E\t545,4 m",                 // four fields
             "\t48°07' 01\" N\t11°31' 00\" E\t545,4 m\t46,9 m\textra",  // six
             "\t\t11°31' 00\" E\t\t",                                   // no latitude
             "\t48°07' 01\" \t11°31' 00\" E\t\t",                       // no hemisphere
             "\t48°07' 01\" E\t11°31' 00\" E\t\t",                      // wrong hemisphere
             "\t48°60' 01\" N\t11°31' 00\" E\t\t",                      // minutes
             "\t48°07' 60\" N\t11°31' 00\" E\t\t",                      // seconds
             "\t90°00' 01\" N\t11°31' 00\" E\t\t",                      // beyond the pole
             "\t48°07' 01\" N\t180°00' 01\" E\t\t",
             "\t48 07' 01\" N\t11°31' 00\" E\t\t",  // no degree sign
             "\t48°07' 01\" N x\t11°31' 00\" E\t\t",
             "1994.02.29  12:35:19 UTC\t48°07' 01\" N\t11°31' 00\" E\t\t",  // no such day
             "1994.13.01\t48°07' 01\" N\t11°31' 00\" E\t\t",
             "24:00:00 UTC\t48°07' 01\" N\t11°31' 00\" E\t\t",
             "12:35:19\t48°07' 01\" N\t11°31' 00\" E\t\t",
             "1994.03.23  12:3\t48°07' 01\" N\t11°31' 00\" E\t\t",  // cut short
             "\t48°07' 01\" N\t11°31' 00\" E\t5x5 m\t",
             "\t48°07' 01\" N\t11°31' 00\" E\t1,5,5 m\t",
             "\x01\xfe\xff\t48°07' 01\" N\t11°31' 00\" E\t\t",
         }) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(readLogLine(cp1257(line)));
    }
}

}  // namespace
}  // namespace kem::maps
