#include "tools/kemsim/ReceiverProfile.h"

#include "tools/kemsim/NmeaSentence.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kem::kemsim {

namespace {

// The sentence between "$" and "*" of a framed line.
std::string bodyOf(const std::string& line) {
    return line.substr(1, line.find('*') - 1);
}

bool is(const std::string& line, std::string_view type) {
    return line.size() > 6 && line.compare(3, type.size(), type) == 0;
}

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

struct Constellation {
    const char* talker;
    int prnOffset;
    char signals[2];  // NMEA 4.11 signal ids: GPS L1 C/A and L5-Q, GLONASS G1 and G2, ...
};
constexpr Constellation kConstellations[] = {
    {"GP", 0, {'1', '8'}}, {"GL", 64, {'1', '3'}}, {"GA", 0, {'7', '1'}}, {"GB", 0, {'1', '5'}}};

// A GPS GSV cycle as another constellation's, optionally for one signal (weaker for the second).
std::vector<std::string> gsvCycle(const std::vector<std::string>& gps, const Constellation& c,
                                  int signal) {
    std::vector<std::string> out;
    for (const auto& line : gps) {
        auto f = SplitFields(bodyOf(line));
        f[0] = std::string(c.talker) + "GSV";
        for (std::size_t i = 4; i + 3 < f.size(); i += 4) {
            f[i] = twoDigits(std::atoi(f[i].c_str()) + c.prnOffset);
            if (signal == 1 && !f[i + 3].empty())
                f[i + 3] = twoDigits(std::max(std::atoi(f[i + 3].c_str()) - 6, 0));
        }
        if (signal >= 0)
            f.emplace_back(1, c.signals[signal]);
        out.push_back(Frame(JoinFields(f)));
    }
    return out;
}

std::vector<std::string> gnss(const std::vector<std::string>& lines, bool dualBand) {
    std::vector<std::string> gsv;
    std::vector<std::string> out;
    for (const auto& line : lines)
        (is(line, "GSV,") ? gsv : out).push_back(line);
    out = WithTalkers(out, {"GN"});
    for (const auto& c : kConstellations)
        for (int signal = dualBand ? 0 : -1; signal < (dualBand ? 2 : 0); ++signal)
            for (auto& l : gsvCycle(gsv, c, signal))
                out.push_back(std::move(l));
    return out;
}

// The "$GP" copy of a fix that GPS has no part in.
std::string voidCopy(const std::string& line) {
    const auto f = SplitFields(bodyOf(line));
    if (is(line, "RMC,"))
        return Frame("GPRMC," + f[1] + ",V,,,,,,," + f[9] + ",,,N");
    return Frame("GPGGA," + f[1] + ",,,,,0,00,,,,,,,");
}

std::vector<std::string> twoTalkers(std::int64_t second, const std::vector<std::string>& lines) {
    const bool glonassOnly = second % 60 >= kGlonassOnlyFrom && second % 60 < kGlonassOnlyTo;
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (!is(line, "RMC,") && !is(line, "GGA,") && !is(line, "GSA,")) {
            out.push_back(line);
            continue;
        }
        out.push_back(WithTalkers({line}, {"GN"}).front());
        if (!is(line, "GSA,"))
            out.push_back(glonassOnly && line.find(",V,") == std::string::npos &&
                                  line.find(",,,,,0,") == std::string::npos
                              ? voidCopy(line)
                              : line);
    }
    return out;
}

// A time field "hhmmss" or "hhmmss.ss" moved back by some seconds (within the day).
std::string earlier(const std::string& time, std::int64_t seconds) {
    const auto at = [&](std::size_t i) { return std::atoi(time.substr(i, 2).c_str()); };
    constexpr std::int64_t kDay = 86400;
    const std::int64_t t = ((at(0) * 3600 + at(2) * 60 + at(4) - seconds) % kDay + kDay) % kDay;
    char text[8];
    std::snprintf(text, sizeof text, "%02d%02d%02d", static_cast<int>(t / 3600),
                  static_cast<int>(t / 60 % 60), static_cast<int>(t % 60));
    return text + time.substr(6);
}

std::vector<std::string> coldStart(std::int64_t second, const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (second < kTimeRuns && (is(line, "RMC,") || is(line, "GGA,"))) {
            auto f = SplitFields(bodyOf(line));
            f[1] = second < kTimeFrozen ? "" : earlier(f[1], second - kTimeFrozen);
            out.push_back(Frame(JoinFields(f)));
        } else {
            out.push_back(line);
        }
    }
    return WithTalkers(out, {"GN", "GP"});
}

// u-blox UBX frames: sync bytes, class, id, little-endian length, payload, Fletcher checksum.
std::string ubx(std::uint8_t cls, std::uint8_t id, const std::string& payload) {
    std::string frame = {static_cast<char>(cls), static_cast<char>(id),
                         static_cast<char>(payload.size() & 0xFF),
                         static_cast<char>(payload.size() >> 8)};
    frame += payload;
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (const char c : frame) {
        a = static_cast<std::uint8_t>(a + static_cast<std::uint8_t>(c));
        b = static_cast<std::uint8_t>(b + a);
    }
    return "\xB5\x62" + frame + static_cast<char>(a) + static_cast<char>(b);
}

std::vector<std::string> binary(std::int64_t second) {
    // NAV-PVT (92 bytes) and NAV-STATUS (16 bytes), their contents changing every second.
    std::string pvt(92, '\0');
    for (std::size_t i = 0; i < pvt.size(); ++i)
        pvt[i] = static_cast<char>((second * 1000 + static_cast<std::int64_t>(i) * 37) & 0xFF);
    return {ubx(0x01, 0x07, pvt), ubx(0x01, 0x03, pvt.substr(0, 16))};
}

}  // namespace

std::optional<ProfileInfo> FindProfile(std::string_view name) {
    for (const auto& p : kProfiles)
        if (p.name == name)
            return p;
    return std::nullopt;
}

std::vector<std::string> ProfileSecond(Profile profile, std::int64_t second,
                                       const std::vector<std::string>& gpsLines) {
    switch (profile) {
        case Profile::Plain:
            return gpsLines;
        case Profile::Gnss:
        case Profile::DualBand:
            return gnss(gpsLines, profile == Profile::DualBand);
        case Profile::TwoTalkers:
            return twoTalkers(second, gpsLines);
        case Profile::ColdStart:
            return coldStart(second, gpsLines);
        case Profile::LfOnly: {
            std::vector<std::string> out;
            for (const auto& line : gpsLines)
                out.push_back(line.substr(0, line.size() - 2) + "\n");
            return out;
        }
        case Profile::Binary:
            return binary(second);
        case Profile::Silent:
            return {};
    }
    return gpsLines;
}

}  // namespace kem::kemsim
