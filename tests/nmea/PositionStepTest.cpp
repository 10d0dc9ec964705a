#include <gtest/gtest.h>

#include "RecordingHost.h"

namespace kem::gps::test {
namespace {

using Calls = std::vector<std::string>;

std::string Gga(int second, const char* lat = "4807.038", const char* lon = "01131.000",
                const char* alt = "545.4") {
    char time[16];
    std::snprintf(time, sizeof time, "1235%02d", second % 60);
    return WithChecksum(std::string("GPGGA,") + time + "," + lat + ",N," + lon + ",E,1,08,0.9," +
                        alt + ",M,46.9,M,,");
}

class PositionStep : public ::testing::Test {
protected:
    RecordingHost host;
    NmeaDecoder decoder{host};

    // Feeds n GGA sentences, one chunk each, and gives the 1-based numbers that ran the step.
    std::vector<int> StepsOver(int n) {
        std::vector<int> ran;
        for (int i = 1; i <= n; ++i) {
            host.calls.clear();
            Feed(decoder, Gga(i) + "\r\n");
            if (!host.calls.empty()) {
                ran.push_back(i);
            }
        }
        return ran;
    }
};

TEST_F(PositionStep, RunsInItsOrderWithTheCurrentPositionAndThePreviousAltitude) {
    host.log = true;
    host.autoMap = true;
    decoder.SetPeriod(1);
    FeedLines(decoder, {Gga(1, "4807.038", "01131.000", "545.4")});
    EXPECT_EQ(host.calls,
              (Calls{"CalcKEM 4807.038 01131.000", "Beep", "KEMSquare K25", "ToLog 12:35:01 ",
                     "ToMap 4807.038 01131.000", "Clipboard 4807.038;01131.000"}));
    // Before the step the panels already showed the position it works with.
    EXPECT_EQ(host.changes.size(), 2u);
    EXPECT_EQ(decoder.CurrentSquare(), "K25");

    host.calls.clear();
    host.square = "K26";
    FeedLines(decoder, {Gga(2, "4817.000", "01131.000", "600.0")});
    // A new square: the sheet being left is saved before the new one is drawn; the log line
    // carries the altitude of the sentence before.
    EXPECT_EQ(host.calls, (Calls{"CalcKEM 4817.000 01131.000", "Beep", "SaveMap K25",
                                 "KEMSquare K26", "ToLog 12:35:02 545.4 m",
                                 "ToMap 4817.000 01131.000", "Clipboard 4817.000;01131.000"}));
    EXPECT_EQ(decoder.Fix().AltitudeText, "600.0 m");
}

TEST_F(PositionStep, SquareComparisonIgnoresBlanksButStoresTheCodeAsGiven) {
    decoder.SetPeriod(1);
    host.square = " K25 ";
    StepsOver(1);
    EXPECT_EQ(decoder.CurrentSquare(), " K25 ");
    host.square = "K25\t";
    host.calls.clear();
    Feed(decoder, Gga(2) + "\r");
    EXPECT_EQ(host.calls, (Calls{"CalcKEM 4807.038 01131.000", "ToMap 4807.038 01131.000",
                                 "Clipboard 4807.038;01131.000"}));
    EXPECT_EQ(decoder.CurrentSquare(), " K25 ");
}

TEST_F(PositionStep, CadenceFollowsPeriod) {
    EXPECT_EQ(StepsOver(31), (std::vector<int>{1, 16, 31}));
    EXPECT_EQ(decoder.FixCounter(), 1);

    decoder.ResetForConnect();
    decoder.SetPeriod(1);
    EXPECT_EQ(StepsOver(3), (std::vector<int>{1, 2, 3}));
    decoder.SetPeriod(-5);
    EXPECT_EQ(StepsOver(2), (std::vector<int>{1, 2}));
    decoder.SetPeriod(3);
    EXPECT_EQ(StepsOver(7), (std::vector<int>{1, 4, 7}));
}

TEST_F(PositionStep, OneFixFromTwoTalkersCountsOnce) {
    auto from = [](const char* talker, int second) {
        return WithChecksum(talker + Gga(second).substr(3, Gga(second).find('*') - 3));
    };
    decoder.SetPeriod(2);
    std::vector<int> ran;
    for (int i = 1; i <= 6; ++i) {
        host.calls.clear();
        FeedLines(decoder, {from("GP", i), from("GN", i), from("GL", i)});
        if (!host.calls.empty()) {
            ran.push_back(i);
        }
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 5}));

    // One talker repeating itself counts each time, as a GPS receiver's sentences always did.
    decoder.SetPeriod(1);
    host.calls.clear();
    FeedLines(decoder, {from("GN", 7), from("GN", 7)});
    EXPECT_EQ(std::count_if(host.calls.begin(), host.calls.end(),
                            [](const std::string& c) { return c.starts_with("CalcKEM"); }),
              2);
}

TEST_F(PositionStep, TwoTalkersGiveOneStepPerFixAndNeverStall) {
    auto gga = [](const char* talker, const char* time) {
        return WithChecksum(std::string(talker) + "GGA," + time +
                            ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    };
    const std::string damaged = gga("GP", "123502");
    struct Case {
        const char* what;
        std::vector<std::string> lines;  // one chunk each
        int steps;
    } const cases[] = {
        {"frozen time",
         {gga("GP", "000000"), gga("GN", "000000"), gga("GP", "000000"), gga("GN", "000000"),
          gga("GP", "000000"), gga("GN", "000000")},
         3},
        {"empty time", {gga("GP", ""), gga("GN", ""), gga("GP", ""), gga("GN", "")}, 4},
        {"cut short first copy", {damaged.substr(0, 30), gga("GN", "123502")}, 1},
        {"void first copy",
         {gga("GN", "123500"), WithChecksum("GPGGA,123501,,,,,0,00,,,,,,,"), gga("GN", "123501")},
         3},
        {"wrong checksum on the first copy",
         {damaged.substr(0, damaged.size() - 2) + "00", gga("GN", "123502")},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingHost host;
        NmeaDecoder decoder(host);
        decoder.SetPeriod(1);
        for (const std::string& line : c.lines) {
            Feed(decoder, line + "\r\n");
        }
        EXPECT_EQ(std::count_if(host.calls.begin(), host.calls.end(),
                                [](const std::string& call) { return call.starts_with("ToMap"); }),
                  c.steps);
    }
}

TEST_F(PositionStep, AVoidRmcKeepsTheValidOneOfTheSameSecondFromAnotherTalker) {
    const std::string valid =
        WithChecksum("GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,");
    FeedLines(decoder, {valid, WithChecksum("GPRMC,123519,V,,,,,,,,,")});
    EXPECT_EQ(decoder.Fix().DateTimeText, "1994.03.23  12:35:19 UTC");
    // From the same talker, or for another second, the void sentence is shown as it comes.
    FeedLines(decoder, {valid, WithChecksum("GNRMC,123519,V,,,,,,,,,")});
    EXPECT_EQ(decoder.Fix().DateTimeText, "12:35:19 UTC");
    FeedLines(decoder, {valid, WithChecksum("GPRMC,123520,V,,,,,,,,,")});
    EXPECT_EQ(decoder.Fix().DateTimeText, "12:35:20 UTC");
}

TEST_F(PositionStep, OnlySentencesWithAKnownPositionCount) {
    decoder.SetPeriod(2);
    host.calls.clear();
    FeedLines(decoder, {WithChecksum("GPGGA,123500,,,,,0,00,,,,,,,"),
                        WithChecksum("GPGGA,123500,4807.038,N,,,0,00,,,,,,,")});
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(decoder.FixCounter(), 0);
    // Once both are known, sentences with empty coordinates go on with the last position.
    EXPECT_EQ(StepsOver(1), (std::vector<int>{1}));
    host.calls.clear();
    FeedLines(decoder, {WithChecksum("GPGGA,123500,,,,,0,00,,,,,,,"),
                        WithChecksum("GPGGA,123501,,,,,0,00,,,,,,,")});
    EXPECT_EQ(host.calls, (Calls{"CalcKEM 4807.038 01131.000", "ToMap 4807.038 01131.000",
                                 "Clipboard 4807.038;01131.000"}));
}

TEST_F(PositionStep, ConnectRedrawsWithoutSavingTheOldSheet) {
    host.autoMap = true;
    decoder.SetPeriod(5);
    StepsOver(2);
    Feed(decoder, "$GPGGA,1235");
    decoder.ResetForConnect();
    EXPECT_EQ(decoder.PendingLine(), "");
    EXPECT_EQ(decoder.CurrentSquare(), "");
    EXPECT_EQ(decoder.FixCounter(), 0);
    host.calls.clear();
    Feed(decoder, Gga(3) + "\r\n");
    EXPECT_EQ(host.calls, (Calls{"CalcKEM 4807.038 01131.000", "Beep", "KEMSquare K25",
                                 "ToMap 4807.038 01131.000", "Clipboard 4807.038;01131.000"}));
}

TEST_F(PositionStep, AFailingCallEndsTheBatchAndTheStepRunsAgain) {
    for (const char* failing : {"CalcKEM", "SaveMap", "KEMSquare", "ToLog", "ToMap", "Clipboard"}) {
        SCOPED_TRACE(failing);
        RecordingHost host;
        host.autoMap = host.log = host.memoVisible = true;
        NmeaDecoder decoder(host);
        decoder.SetPeriod(2);
        FeedLines(decoder, {Gga(0), Gga(1)});  // draws K25 so a change to K26 saves
        host.square = "K26";
        host.throwIn = failing;
        host.calls.clear();
        FeedLines(decoder,
                  {Gga(2, "4817.000", "01131.000", "600.0"), WithChecksum("GPGSA,A,3,04")});
        EXPECT_EQ(decoder.FixCounter(), 0);                // not advanced
        EXPECT_EQ(decoder.Fix().ModeText, "");             // the next line was skipped
        EXPECT_EQ(decoder.Fix().AltitudeText, "545.4 m");  // the rest of the line too
        EXPECT_EQ(decoder.Fix().TimeText, "12:35:02");     // what came before stays
        EXPECT_EQ(host.shown.TimeText, "12:35:02");
        EXPECT_EQ(host.calls.back(), "Scroll");  // end of batch ran
        EXPECT_TRUE(host.calls.end()[-2].starts_with(failing));

        host.throwIn.clear();
        host.calls.clear();
        Feed(decoder, Gga(3, "4817.000") + "\r\n");
        EXPECT_EQ(host.calls.front(), "CalcKEM 4817.000 01131.000");
        EXPECT_EQ(decoder.FixCounter(), 1);
    }
}

TEST_F(PositionStep, ADataChunkArrivingDuringTheStepIsDecodedAfterItInOrder) {
    host.memoVisible = true;
    decoder.SetPeriod(1);
    const std::string gsa = WithChecksum("GPGSA,A,2,04");
    int nested = 0;
    host.onToMap = [&] {
        // A report box's event loop lets the driver's timer deliver more data.
        if (nested++ == 0) {
            Feed(decoder, gsa + "\r\n" + Gga(5).substr(0, 20));
            Feed(decoder, Gga(5).substr(20) + "\r\n");
            EXPECT_EQ(decoder.Fix().ModeText, "");  // not decoded inside the running call
        }
    };
    FeedLines(decoder, {Gga(1), WithChecksum("GPGSA,A,3,04")});
    EXPECT_EQ(decoder.Fix().ModeText, "2D");  // the deferred GSA came after the batch's GSA
    EXPECT_EQ(decoder.Fix().TimeText, "12:35:05");
    EXPECT_EQ(host.memo,
              (std::vector<std::string>{Gga(1), WithChecksum("GPGSA,A,3,04"), gsa, Gga(5)}));
    EXPECT_EQ(nested, 2);  // the deferred GGA ran its own step, once
}

}  // namespace
}  // namespace kem::gps::test
