#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace kem::kemsim {

// What a GPS receiver on the built-in drive sends in one second: RMC, GGA, GSA and two or three
// GSV sentences, each framed with its checksum and CR LF. The receiver starts without a fix
// (empty position fields, GSA fix type 1), has a 2D fix from second kFix2D and a 3D fix from
// second kFix3D on.
class SimulatedReceiver {
public:
    static constexpr std::int64_t kFix2D = 4;
    static constexpr std::int64_t kFix3D = 7;

    // startUtc: the UTC time of second 0.
    explicit SimulatedReceiver(std::time_t startUtc) : m_startUtc(startUtc) {}

    std::vector<std::string> Second(std::int64_t second) const;

private:
    std::time_t m_startUtc;
};

// Latitude as "ddmm.mmmm" and longitude as "dddmm.mmmm", as receivers write them.
std::string LatitudeField(double degrees);
std::string LongitudeField(double degrees);

}  // namespace kem::kemsim
