#include <gtest/gtest.h>

#include "RecordingHost.h"

namespace kem::gps::test {
namespace {

const std::string kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const std::string kGsa = "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39";
const std::string kDeg = "\xB0";  // the degree sign in Windows-1257
const std::string kGsv = "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75";

class Sentences : public ::testing::Test {
protected:
    RecordingHost host;
    NmeaDecoder decoder{host};

    const GpsFix& Fix() const { return decoder.Fix(); }
    void Line(const std::string& line) { Feed(decoder, line + "\r\n"); }
    void Body(const std::string& body) { Line(WithChecksum(body)); }
};

TEST_F(Sentences, ExampleBatchWithEitherDecimalSeparator) {
    for (const char separator : {',', '.'}) {
        SCOPED_TRACE(separator);
        RecordingHost host;
        host.satVisible = true;
        NmeaDecoder decoder(host);
        decoder.SetDecimalSeparator(separator);
        FeedLines(decoder, {kRmc, kGga, kGsa, kGsv});
        const std::string s(1, separator);

        const GpsFix& f = decoder.Fix();
        EXPECT_EQ(f.DateTimeText, "1994.03.23  12:35:19 UTC");
        EXPECT_EQ(f.SpeedText, "41" + s + "5");
        EXPECT_EQ(f.TimeText, "12:35:19");
        EXPECT_EQ(f.LatText, "48" + kDeg + "07' 01\" N");
        EXPECT_EQ(f.LongText, "11" + kDeg + "31' 00\" E");
        EXPECT_EQ(f.LatRaw, "4807" + s + "038");
        EXPECT_EQ(f.LongRaw, "01131" + s + "000");
        EXPECT_EQ(f.AltitudeText, "545" + s + "4 m");
        EXPECT_EQ(f.GeoidText, "46" + s + "9 m");
        EXPECT_EQ(f.SatsText, "8");
        EXPECT_EQ(f.ModeText, "3D");
        EXPECT_FALSE(f.NoFix);
        EXPECT_EQ(host.shown.SpeedText, f.SpeedText);  // every change reached the panels
        EXPECT_EQ(host.shown.ModeText, "3D");

        const char* const rows[4][4] = {{"01", "40\xB0", "083\xB0", "46 dB"},
                                        {"02", "17\xB0", "308\xB0", "41 dB"},
                                        {"12", "07\xB0", "344\xB0", "39 dB"},
                                        {"14", "22\xB0", "228\xB0", "45 dB"}};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(host.table.Cell(r + 1, static_cast<SatColumn>(c)), rows[r][c]);
            }
        }
        EXPECT_EQ(host.table.Cell(5, SatColumn::Nr), "");
        EXPECT_EQ(host.StepCalls(), (std::vector<std::string>{
                                        "CalcKEM 4807" + s + "038 01131" + s + "000", "Beep",
                                        "KEMSquare K25", "ToMap 4807" + s + "038 01131" + s + "000",
                                        "Clipboard 4807" + s + "038;01131" + s + "000"}));
    }
}

TEST_F(Sentences, RmcDateAndTime) {
    struct Case {
        const char* time;
        const char* date;
        const char* want;
    } const cases[] = {
        {"123519", "230394", "1994.03.23  12:35:19 UTC"},
        {"123519.00", "230394", "1994.03.23"},  // decimals: no time
        {"000000", "230399", "1999.03.23  00:00:00 UTC"},
        {"123519", "230300", "2000.03.23  12:35:19 UTC"},
        {"123519", "230389", "2089.03.23  12:35:19 UTC"},
        {"123519", "", "12:35:19 UTC"},  // no date before the first fix: the time alone
        {"123519", "23039", "12:35:19 UTC"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " " + c.date);
        Body(std::string("GPRMC,") + c.time + ",A,4807.038,N,01131.000,E,022.4,084.4," + c.date +
             ",003.1,W");
        EXPECT_EQ(Fix().DateTimeText, c.want);
    }
}

TEST_F(Sentences, RmcSpeedInKilometresPerHour) {
    decoder.SetDecimalSeparator(',');
    struct Case {
        const char* knots;
        const char* want;
    } const cases[] = {
        {"10", "18,5"},     {"022.4", "41,5"}, {"", "0,0"},      {"abc", "0,0"},
        {"0.07498", "0,1"}, {"1e40", "0,0"},   {"1.5.0", "0,0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.knots);
        Body(std::string("GPRMC,123519,A,,,,,") + c.knots + ",,230394,,");
        EXPECT_EQ(Fix().SpeedText, c.want);
    }
}

TEST_F(Sentences, GgaTimeAndSecondsFromMinutes) {
    Body("GPGGA,123519.00,4807.999,N,01131.5,E,1,08,0.9,545.4,M,46.9,M,,");
    EXPECT_EQ(Fix().TimeText, "12:35:19");
    EXPECT_EQ(Fix().LatText, "48" + kDeg + "07' 59\" N");
    EXPECT_EQ(Fix().LongText, "11" + kDeg + "31' 30\" E");

    struct Case {
        const char* lat;
        const char* seconds;
    } const cases[] = {
        {"4807.999", "59"}, {"4807.005", "00"}, {"4807.5", "30"},  {"4807.", "00"},
        {"4807", "00"},     {"4807.x9", "00"},  {"4807.16", "09"}, {"4807.-9", "0-5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lat);
        Body(std::string("GPGGA,12351,") + c.lat + ",S,01131.000,E,1,08,0.9,,,,,,");
        EXPECT_EQ(Fix().LatText, "48" + kDeg + "07' " + c.seconds + "\" S");
    }
    EXPECT_EQ(Fix().TimeText, "12:35:19");  // a 5-character time leaves it as it was
}

TEST_F(Sentences, LongitudeLosesExactlyOneLeadingZero) {
    struct Case {
        const char* lon;
        std::string want;
    } const cases[] = {
        {"01131.000", "11" + kDeg + "31' 00\" E"},
        {"00512.000", "05" + kDeg + "12' 00\" E"},
        {"12345.678", "123" + kDeg + "45' 40\" E"},
        {"01131", "11" + kDeg + "31' 00\" E"},  // no point: whole degrees and minutes
        {"0.5", kDeg + "' 30\" E"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lon);
        Body(std::string("GPGGA,123519,4807.038,N,") + c.lon + ",E,1,08,0.9,,,,,,");
        EXPECT_EQ(Fix().LongText, c.want);
    }
}

TEST_F(Sentences, EmptyFieldsKeepWhatWasShown) {
    Line(kGga);
    const GpsFix before = Fix();
    Body("GPGGA,123520,,,,,0,00,,,,,,,");
    EXPECT_EQ(Fix().TimeText, "12:35:20");
    EXPECT_EQ(Fix().LatText, before.LatText);
    EXPECT_EQ(Fix().LongText, before.LongText);
    EXPECT_EQ(Fix().LatRaw, before.LatRaw);
    EXPECT_EQ(Fix().AltitudeText, before.AltitudeText);
    EXPECT_EQ(Fix().GeoidText, before.GeoidText);
    EXPECT_EQ(Fix().SatsText, "0");
    Body("GPGGA,123521,,,,,0,,,,,,,,");
    EXPECT_EQ(Fix().SatsText, "");
    Body("GPGGA,123521,,,,,0,0,,,,,,,");  // one leading zero goes, also from a lone "0"
    EXPECT_EQ(Fix().SatsText, "");
    // Receivers without a fix send the units without values: the texts stay.
    Body("GPGGA,123521,,,,,0,04,,,M,,M,,");
    EXPECT_EQ(Fix().SatsText, "4");
    EXPECT_EQ(Fix().AltitudeText, before.AltitudeText);
    EXPECT_EQ(Fix().GeoidText, before.GeoidText);
    Body("GPGGA,123521,,,,,0,10,,600.0,m,-1.0,M,,");
    EXPECT_EQ(Fix().SatsText, "10");
    EXPECT_EQ(Fix().AltitudeText, "600.0 m");
    EXPECT_EQ(Fix().GeoidText, "-1.0 m");
}

TEST_F(Sentences, GsaFixTypeSetsModeAndNoFix) {
    EXPECT_TRUE(Fix().NoFix);  // red at start
    struct Case {
        const char* type;
        const char* mode;
        bool noFix;
    } const cases[] = {
        {"3", "3D", false}, {"1", "", true}, {"2", "2D", false},
        {"", "2D", false},  {"1", "", true}, {"", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Body(std::string("GPGSA,A,") + c.type + ",04,05,,,,,,,,,,,2.5,1.3,2.1");
        EXPECT_EQ(Fix().ModeText, c.mode);
        EXPECT_EQ(Fix().NoFix, c.noFix);
        EXPECT_EQ(host.shown.NoFix, c.noFix);
    }
}

TEST_F(Sentences, EveryGnssTalkerGivesTheSameFixAsGps) {
    const std::string gpsOnly[] = {kRmc, kGga, kGsa};
    FeedLines(decoder, {kRmc, kGga, kGsa});
    const GpsFix want = Fix();
    for (const std::string_view talker : NmeaDecoder::kFixTalkers) {
        SCOPED_TRACE(talker);
        RecordingHost other;
        NmeaDecoder decoder(other);
        std::vector<std::string> lines;
        for (const std::string& line : gpsOnly) {
            lines.push_back(WithChecksum(std::string(talker) + line.substr(3, line.find('*') - 3)));
        }
        FeedLines(decoder, lines);
        EXPECT_EQ(decoder.Fix().DateTimeText, want.DateTimeText);
        EXPECT_EQ(decoder.Fix().SpeedText, want.SpeedText);
        EXPECT_EQ(decoder.Fix().LatText, want.LatText);
        EXPECT_EQ(decoder.Fix().LongRaw, want.LongRaw);
        EXPECT_EQ(decoder.Fix().AltitudeText, want.AltitudeText);
        EXPECT_EQ(decoder.Fix().SatsText, want.SatsText);
        EXPECT_EQ(decoder.Fix().ModeText, "3D");
        EXPECT_EQ(other.StepCalls(), host.StepCalls());
    }
}

TEST_F(Sentences, OtherLinesAreIgnored) {
    host.satVisible = true;
    FeedLines(decoder, {" $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
                        "$gpgga,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
                        "$XXGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
                        "$GNGGAX,1,2", "$GPGGA", "$GN", "", "#comment",
                        // other constellations' satellites keep out of the GPS table
                        WithChecksum("GLGSV,1,1,02,65,40,083,46,66,17,308,41"),
                        WithChecksum("GNGSV,1,1,02,65,40,083,46,66,17,308,41")});
    EXPECT_EQ(Fix().TimeText, "");
    EXPECT_TRUE(host.changes.empty());
    EXPECT_EQ(host.table.Cell(1, SatColumn::Nr), "");
    // The checksum is not verified.
    Line("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*00");
    EXPECT_EQ(Fix().TimeText, "12:35:19");
}

TEST_F(Sentences, ShortSentencesEndTheBatchAndTheNextBatchDecodes) {
    host.satVisible = true;
    host.memoVisible = true;
    const std::string gsa2 = WithChecksum("GPGSA,A,2,04");
    struct Case {
        const char* name;
        std::string bad;
    } const cases[] = {
        {"RMC with 9 fields", "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4"},
        {"GGA cut short", "$GPGGA,123519,4807.038,N,01131.000"},
        {"GSA without star", "$GPGSA,A,3,04"},
        {"GSV with 2 fields", "$GPGSV,1*00"},
        {"GSV without star", "$GPGSV,1,1,08,01,40,083,46"},
        {"GSV 1 in view", WithChecksum("GPGSV,1,1,01,01,40,083,46")},
        {"GSV 0 in view", WithChecksum("GPGSV,1,1,00")},
        {"GSV in view missing", WithChecksum("GPGSV,1,1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Line(kGsa);
        host.calls.clear();
        FeedLines(decoder, {c.bad, gsa2});
        EXPECT_EQ(Fix().ModeText, "3D");  // the GSA after the bad line was skipped
        EXPECT_EQ(host.calls, std::vector<std::string>{"Scroll"});  // end of batch still ran
        FeedLines(decoder, {gsa2});
        EXPECT_EQ(Fix().ModeText, "2D");
    }
}

TEST_F(Sentences, AFailureKeepsWhatTheLineHadAlreadyStored) {
    // Field 11 missing: the altitude is stored, the geoid and the satellites are not.
    Line(kGga);
    Line("$GPGGA,123520,4807.040,N,01131.000,E,1,09,0.9,600.0,M");
    EXPECT_EQ(Fix().TimeText, "12:35:20");
    EXPECT_EQ(Fix().AltitudeText, "600.0 m");
    EXPECT_EQ(Fix().GeoidText, "46.9 m");
    EXPECT_EQ(Fix().SatsText, "8");
    EXPECT_EQ(host.shown.AltitudeText, "600.0 m");
    // Hemisphere missing: the raw latitude is stored, its text is not.
    Line("$GPGGA,123521,4808.000");
    EXPECT_EQ(Fix().LatRaw, "4808.000");
    EXPECT_EQ(Fix().LatText, "48" + kDeg + "07' 02\" N");
}

}  // namespace
}  // namespace kem::gps::test
