#include "gps/BaudHunt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingHost.h"

namespace kem::gps::test {
namespace {

TEST(BaudHunt, ValidChecksumIsWhatMarksASentence) {
    const std::string gga = WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,,,,,,");
    struct Case {
        std::string line;
        bool valid;
    } const cases[] = {
        {gga, true},
        {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39", true},
        {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*3a", false},
        {"$GPTXT,01,01,02,u-blox ag - www.u-blox.com*50", true},
        {"$PUBX,00*33", true},  // lower-case hex and vendor sentences count too
        {"$*00", true},
        {"x" + gga, false},
        {gga.substr(0, gga.size() - 1), false},
        {"$GPGSA,A,3*", false},
        {"$GPGSA,A,3*G9", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(HasValidChecksum(c.line), c.valid);
    }
}

TEST(BaudHunt, SpotsASentenceAcrossChunksButNotInGarbage) {
    const std::string gga = WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,,,,,,");
    SentenceSpotter spotter;
    // Garbage without line ends runs past the longest sentence; what follows it on the same
    // line does not count, even when it ends like a sentence.
    EXPECT_FALSE(spotter.Add(std::string(200, '\xE6').data(), 200));
    EXPECT_FALSE(spotter.Add(gga.data(), gga.size()));
    EXPECT_FALSE(spotter.Add("\r\n$GPG", 6));
    EXPECT_FALSE(spotter.Add(gga.data() + 3, gga.size() - 3));  // "$GPGGGA,..." is not valid
    EXPECT_FALSE(spotter.Add("\r", 1));
    // LF alone ends no line, as for the decoder: LF-only lines run together.
    EXPECT_FALSE(spotter.Add((gga + "\n" + gga + "\n").data(), 2 * gga.size() + 2));
    EXPECT_FALSE(spotter.Add("\r", 1));
    EXPECT_FALSE(spotter.Add(gga.data(), 10));
    EXPECT_TRUE(spotter.Add((gga.substr(10) + "\n\r").data(), gga.size() - 8));
    EXPECT_TRUE(spotter.Spotted());
}

TEST(BaudHunt, TriesTheRatesInTurnAndStaysAtTheOneThatWorks) {
    BaudHunt hunt;
    std::vector<std::uint32_t> tried = {hunt.Start()};
    EXPECT_FALSE(hunt.Feed("$GPGGA,1", 8));
    for (int i = 0; i < 6; ++i) {
        tried.push_back(hunt.Next());
    }
    EXPECT_EQ(tried, (std::vector<std::uint32_t>{4800, 9600, 38400, 115200, 19200, 57600, 4800}));
    // The half line from the rate before does not join the first line at the new one.
    EXPECT_FALSE(hunt.Feed("*47\r\n", 5));
    const std::string line = WithChecksum("GPGSA,A,1") + "\r\n";
    EXPECT_TRUE(hunt.Feed(line.data(), line.size()));
    EXPECT_TRUE(hunt.Found());
    EXPECT_EQ(hunt.Rate(), 4800u);
    EXPECT_EQ(hunt.Start(), 4800u);
    EXPECT_FALSE(hunt.Found());
}

}  // namespace
}  // namespace kem::gps::test
