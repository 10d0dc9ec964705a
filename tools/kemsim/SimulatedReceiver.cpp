#include "tools/kemsim/SimulatedReceiver.h"

#include "tools/kemsim/NmeaSentence.h"
#include "tools/kemsim/Route.h"
#include "tools/kemsim/Sky.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kem::kemsim {

namespace {

constexpr double kKnotsPerKmh = 1 / 1.852;
constexpr double kGeoidSeparationM = 23.4;  // about right for Lithuania
constexpr std::size_t kSatellitesPerGsv = 4;
constexpr std::size_t kGsaSlots = 12;

// Degrees as degree digits + minutes with four decimals, rounded once in 1/10000 minutes so
// that 59.99996' never shows as 60.0000'.
std::string angleField(double degrees, int degreeDigits) {
    const long long units = std::llround(degrees * 60 * 10000);
    char text[48];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, units / 600000,
                  units % 600000 / 10000, units % 10000);
    return text;
}

std::string format(const char* pattern, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

struct Clock {
    std::string hhmmss;
    std::string ddmmyy;
};

Clock clockAt(std::time_t utc) {
    std::tm tm{};
    gmtime_r(&utc, &tm);
    return {format("%02d%02d%02d", tm.tm_hour, tm.tm_min, tm.tm_sec),
            format("%02d%02d%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100)};
}

std::string rmc(const Clock& clock, const VehicleState* v) {
    if (!v)
        return "GPRMC," + clock.hhmmss + ",V,,,,,,," + clock.ddmmyy + ",,,N";
    return "GPRMC," + clock.hhmmss + ",A," + LatitudeField(v->lat) + ",N," +
           LongitudeField(v->lon) + ",E," +
           format("%.1f,%.1f,", v->speedKmh * kKnotsPerKmh, v->courseDeg) + clock.ddmmyy + ",,,A";
}

std::string gga(const Clock& clock, const VehicleState* v, bool threeD, int used, double hdop) {
    const std::string time = clock.hhmmss + ".00";
    if (!v)
        return "GPGGA," + time + ",,,,,0,00,,,,,,,";
    const std::string height =
        threeD ? format("%.1f,M,%.1f,M", v->altitudeM, kGeoidSeparationM) : std::string(",,,");
    return "GPGGA," + time + "," + LatitudeField(v->lat) + ",N," + LongitudeField(v->lon) +
           ",E,1," + format("%02d,%.1f,", used, hdop) + height + ",,";
}

std::string gsa(int fixType, const std::vector<SatelliteView>& sky, double hdop) {
    std::string body = format("GPGSA,A,%d", fixType);
    std::size_t slots = 0;
    if (fixType > 1)
        for (const auto& sat : sky)
            if (UsedInFix(sat) && slots < kGsaSlots) {
                body += format(",%02d", sat.prn);
                ++slots;
            }
    body.append(kGsaSlots - slots, ',');
    if (fixType > 1)
        return body + format(",%.1f,%.1f,%.1f", hdop * 1.7, hdop, hdop * 1.3);
    return body + ",,,";
}

std::vector<std::string> gsv(const std::vector<SatelliteView>& sky) {
    std::vector<std::string> bodies;
    const std::size_t total = (sky.size() + kSatellitesPerGsv - 1) / kSatellitesPerGsv;
    for (std::size_t m = 0; m < total; ++m) {
        std::string body = format("GPGSV,%zu,%zu,%02zu", total, m + 1, sky.size());
        const std::size_t end = std::min(sky.size(), (m + 1) * kSatellitesPerGsv);
        for (std::size_t i = m * kSatellitesPerGsv; i < end; ++i) {
            const auto& sat = sky[i];
            body += format(",%02d,%02d,%03d,", sat.prn, sat.elevation, sat.azimuth);
            if (sat.snr >= 0)
                body += format("%02d", sat.snr);
        }
        bodies.push_back(body);
    }
    return bodies;
}

}  // namespace

std::string LatitudeField(double degrees) {
    return angleField(degrees, 2);
}
std::string LongitudeField(double degrees) {
    return angleField(degrees, 3);
}

std::vector<std::string> SimulatedReceiver::Second(std::int64_t second) const {
    const auto t = static_cast<double>(second);
    const Clock clock = clockAt(m_startUtc + static_cast<std::time_t>(second));
    const std::vector<SatelliteView> sky = SatellitesAt(t);
    const int used = static_cast<int>(std::count_if(sky.begin(), sky.end(), UsedInFix));
    const double hdop = 0.6 + 6.0 / std::max(used, 1);
    const int fixType = second >= kFix3D ? 3 : second >= kFix2D ? 2 : 1;
    const VehicleState vehicle = VehicleAt(t);
    const VehicleState* v = fixType > 1 ? &vehicle : nullptr;

    std::vector<std::string> bodies = {rmc(clock, v), gga(clock, v, fixType == 3, used, hdop),
                                       gsa(fixType, sky, hdop)};
    for (auto& body : gsv(sky))
        bodies.push_back(std::move(body));
    std::vector<std::string> lines;
    for (const auto& body : bodies)
        lines.push_back(Frame(body));
    return lines;
}

}  // namespace kem::kemsim
