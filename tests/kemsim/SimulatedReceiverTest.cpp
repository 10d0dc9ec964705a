#include "tools/kemsim/NmeaSentence.h"
#include "tools/kemsim/ReceiverProfile.h"
#include "tools/kemsim/Route.h"
#include "tools/kemsim/SimulatedReceiver.h"
#include "tools/kemsim/Sky.h"

#include "gps/DecoderHost.h"
#include "gps/NmeaDecoder.h"
#include "maps/Locator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kem::kemsim {
namespace {

constexpr std::time_t kStart = 1765000000;  // 2025-12-06 05:46:40 UTC

// "$body*HH\r\n" with a correct checksum gives the body; anything else gives an empty text.
std::string checkedBody(const std::string& line) {
    if (line.size() < 6 || line.front() != '$' || !line.ends_with("\r\n"))
        return {};
    const std::string inner = line.substr(1, line.size() - 3);
    const auto star = inner.rfind('*');
    if (star == std::string::npos || inner.size() - star != 3)
        return {};
    const std::string body = inner.substr(0, star);
    return inner.substr(star + 1) == Checksum(body) ? body : std::string{};
}

TEST(NmeaSentence, FramesWithTheStandardChecksum) {
    EXPECT_EQ(Frame("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
              "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
    EXPECT_EQ(Checksum(""), "00");
}

TEST(SimulatedReceiver, EverySecondIsAFullCycleOfValidSentences) {
    const SimulatedReceiver receiver(kStart);
    for (std::int64_t second = 0; second < 1800; second += 7) {
        SCOPED_TRACE(second);
        const auto lines = receiver.Second(second);
        ASSERT_GE(lines.size(), 5u);
        ASSERT_LE(lines.size(), 6u);
        std::vector<std::vector<std::string>> f;
        for (const auto& line : lines) {
            const std::string body = checkedBody(line);
            ASSERT_FALSE(body.empty()) << line;
            f.push_back(SplitFields(body));
        }
        EXPECT_EQ(f[0][0], "GPRMC");
        EXPECT_EQ(f[0].size(), 13u);
        EXPECT_EQ(f[1][0], "GPGGA");
        EXPECT_EQ(f[1].size(), 15u);
        EXPECT_EQ(f[2][0], "GPGSA");
        EXPECT_EQ(f[2].size(), 18u);
        // RMC: whole seconds, so the decoder shows date and time; GGA the same time.
        EXPECT_EQ(f[0][1].size(), 6u);
        EXPECT_EQ(f[1][1], f[0][1] + ".00");
        EXPECT_EQ(f[0][9].size(), 6u);

        const std::size_t gsvCount = lines.size() - 3;
        std::size_t listed = 0;
        for (std::size_t m = 0; m < gsvCount; ++m) {
            const auto& g = f[3 + m];
            EXPECT_EQ(g[0], "GPGSV");
            EXPECT_EQ(g[1], std::to_string(gsvCount));
            EXPECT_EQ(g[2], std::to_string(m + 1));
            listed += (g.size() - 4) / 4;
        }
        EXPECT_EQ(std::to_string(listed), f[3][3].substr(f[3][3].front() == '0'));
    }
}

TEST(SimulatedReceiver, StartsWithoutFixThenTwoDThenThreeD) {
    const SimulatedReceiver receiver(kStart);
    const auto fixType = [&](std::int64_t s) {
        return SplitFields(checkedBody(receiver.Second(s)[2]))[2];
    };
    const auto gga = [&](std::int64_t s) {
        return SplitFields(checkedBody(receiver.Second(s)[1]));
    };

    EXPECT_EQ(fixType(0), "1");
    EXPECT_EQ(gga(0)[2], "");
    EXPECT_EQ(gga(0)[6], "0");
    EXPECT_EQ(SplitFields(checkedBody(receiver.Second(0)[0]))[2], "V");
    EXPECT_EQ(fixType(SimulatedReceiver::kFix2D), "2");
    EXPECT_NE(gga(SimulatedReceiver::kFix2D)[2], "");
    EXPECT_EQ(gga(SimulatedReceiver::kFix2D)[9], "") << "no height in 2D";
    EXPECT_EQ(fixType(SimulatedReceiver::kFix3D), "3");
    EXPECT_NE(gga(SimulatedReceiver::kFix3D)[9], "");
    EXPECT_LE(SimulatedReceiver::kFix3D, 10) << "a few seconds";
}

TEST(Profiles, GnssDualBandAndTwoTalkersSendWhatSuchReceiversSend) {
    const SimulatedReceiver receiver(kStart);
    // A second's sentences: their fields by sentence name ("GNRMC").
    const auto second = [&](Profile profile, std::int64_t k) {
        std::multimap<std::string, std::vector<std::string>> out;
        for (const auto& line : ProfileSecond(profile, k, receiver.Second(k)))
            out.emplace(checkedBody(line).substr(0, 5), SplitFields(checkedBody(line)));
        return out;
    };
    std::set<std::string> names, gpsSignals;
    for (const auto& [name, f] : second(Profile::Gnss, 30))
        names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"GNRMC", "GNGGA", "GNGSA", "GPGSV", "GLGSV", "GAGSV",
                                            "GBGSV"}));
    for (const auto& [name, f] : second(Profile::DualBand, 30))
        if (name == "GPGSV")
            gpsSignals.insert(f.back());
    EXPECT_EQ(gpsSignals, (std::set<std::string>{"1", "8"}));  // L1 C/A and L5
    // Only GLONASS has the fix: the GPS copy of the same second is void.
    const auto glonassOnly = second(Profile::TwoTalkers, kGlonassOnlyFrom);
    EXPECT_EQ(glonassOnly.find("GNRMC")->second[2], "A");
    EXPECT_EQ(glonassOnly.find("GPRMC")->second[2], "V");
    EXPECT_EQ(glonassOnly.find("GPRMC")->second[1], glonassOnly.find("GNRMC")->second[1]);
}

TEST(SimulatedReceiver, CoordinateFieldsRoundOnceAndCarry) {
    EXPECT_EQ(LatitudeField(56.5), "5630.0000");
    EXPECT_EQ(LongitudeField(20.0 + 50.0 / 60), "02050.0000");
    EXPECT_EQ(LatitudeField(54.0 + 59.999999 / 60), "5500.0000");
    EXPECT_EQ(LongitudeField(5.25), "00515.0000");
}

TEST(Drive, MovesAndChangesSpeedAltitudeAndSky) {
    const VehicleState start = VehicleAt(0);
    EXPECT_NEAR(start.lat, 56.0 + 29.5 / 60, 1e-9);
    EXPECT_NEAR(start.lon, 20.0 + 51.0 / 60, 1e-9);

    std::set<long> speeds, altitudes;
    for (int t = 0; t < 600; t += 10) {
        const VehicleState v = VehicleAt(t);
        speeds.insert(std::lround(v.speedKmh));
        altitudes.insert(std::lround(v.altitudeM));
        EXPECT_GT(v.speedKmh, 30);
        EXPECT_LT(v.speedKmh, 110);
    }
    EXPECT_GT(speeds.size(), 10u);
    EXPECT_GT(altitudes.size(), 10u);

    // Each satellite seen at both moments has moved; signals differ.
    std::map<int, SatelliteView> before;
    for (const auto& s : SatellitesAt(100))
        before[s.prn] = s;
    int moved = 0, snrChanged = 0, compared = 0;
    for (const auto& s : SatellitesAt(160)) {
        const auto it = before.find(s.prn);
        if (it == before.end())
            continue;
        ++compared;
        moved += s.azimuth != it->second.azimuth && s.elevation != it->second.elevation;
        snrChanged += s.snr != it->second.snr;
    }
    EXPECT_GE(compared, 8);
    EXPECT_EQ(moved, compared);
    EXPECT_GT(snrChanged, compared / 2);
    for (int t = 0; t < 3600; t += 30) {
        const auto sky = SatellitesAt(t);
        EXPECT_GE(sky.size(), 8u);
        EXPECT_LE(sky.size(), 12u) << "three GSV sentences at most";
    }
}

// The decoder's view of the drive: what the main window's position step would see.
class RecordingHost : public gps::DecoderHost {
public:
    bool AutoMapChecked() override { return false; }
    bool LogChecked() override { return false; }
    bool MemoVisible() override { return false; }
    bool SatWindowVisible() override { return true; }
    std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) override {
        return maps::CalcKEM(latRaw, longRaw, '.');
    }
    void Beep() override {}
    void SaveMap(const std::string&) override {}
    void KEMSquare(const std::string& square) override { squares.push_back(square); }
    void ToLog(const gps::GpsFix&) override {}
    void ToMap(const std::string&, const std::string&) override { ++positions; }
    void SetClipboardText(const std::string&) override {}
    void EchoLines(std::span<const std::string>) override {}
    void ScrollMemoToCaret() override {}
    void SetSatelliteCell(int, gps::SatColumn, const std::string&) override { ++satelliteCells; }
    void ShowSats() override {}
    void FixChanged(const gps::GpsFix&, gps::FixFieldSet) override {}

    std::vector<std::string> squares;  // in the order the map sheets would be drawn
    int positions = 0;
    int satelliteCells = 0;
};

TEST(Drive, DecodedRouteCrossesAtLeastSixSquaresOneAtATime) {
    RecordingHost host;
    gps::NmeaDecoder decoder(host);
    decoder.SetPeriod(10);
    const SimulatedReceiver receiver(kStart);
    constexpr std::int64_t kHour = 3600;
    for (std::int64_t second = 0; second < kHour; ++second)
        for (const auto& line : receiver.Second(second))
            decoder.Receive(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());

    EXPECT_EQ(decoder.Fix().ModeText, "3D");
    EXPECT_FALSE(decoder.Fix().AltitudeText.empty());
    EXPECT_GT(host.satelliteCells, 0);
    EXPECT_EQ(host.positions, (kHour - SimulatedReceiver::kFix2D + 9) / 10);

    ASSERT_FALSE(host.squares.empty());
    EXPECT_EQ(host.squares.front(), "A00");
    EXPECT_GE(std::set<std::string>(host.squares.begin(), host.squares.end()).size(), 6u);
    for (std::size_t i = 1; i < host.squares.size(); ++i) {
        const std::string& a = host.squares[i - 1];
        const std::string& b = host.squares[i];
        SCOPED_TRACE(a + " -> " + b);
        ASSERT_EQ(b.size(), 3u);
        EXPECT_LE(std::abs(a[0] - b[0]), 1);
        EXPECT_LE(std::abs(std::stoi(a.substr(1)) - std::stoi(b.substr(1))), 1);
    }
}

TEST(Drive, StaysInsideTheGridThereAndBack) {
    for (int t = 0; t < 12 * 3600; t += 60) {
        const VehicleState v = VehicleAt(t);
        const std::string code = maps::CalcKEM(LatitudeField(v.lat), LongitudeField(v.lon), '.');
        SCOPED_TRACE(std::to_string(t) + " s: " + code);
        ASSERT_EQ(code.size(), 3u);
        EXPECT_GE(code[0], 'A');
        EXPECT_LE(code[0], 'P');
        EXPECT_LE(std::stoi(code.substr(1)), 39);
    }
}

}  // namespace
}  // namespace kem::kemsim
