#include "tools/kemsim/Sky.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kem::kemsim {

namespace {

struct Orbit {
    int prn;
    double azimuth0;     // degrees at t = 0
    double azimuthRate;  // degrees per second
    double elevationMid;
    double elevationSwing;
    double period;  // seconds for one rise and fall of the elevation
    double phase;   // radians
};

// Much faster than real orbits, so that a sky plot refreshed every quarter minute shows them
// move. Elevations of the first eight never fall below 5 degrees; the last four set and rise.
constexpr Orbit kOrbits[] = {
    {2, 40, 0.10, 45, 25, 600, 0.0},    {5, 110, -0.08, 60, 20, 800, 1.0},
    {7, 200, 0.12, 35, 25, 500, 2.0},   {9, 300, 0.05, 25, 15, 700, 3.0},
    {12, 10, -0.10, 70, 15, 750, 4.0},  {15, 160, 0.15, 30, 20, 550, 5.0},
    {18, 250, -0.05, 50, 30, 900, 0.5}, {21, 330, 0.08, 20, 12, 650, 1.5},
    {25, 80, 0.10, 8, 20, 300, 0.3},    {26, 140, -0.12, 6, 18, 350, 2.5},
    {29, 220, 0.15, 5, 20, 400, 4.5},   {30, 280, -0.10, 10, 22, 450, 1.2},
};

constexpr double kPi = std::numbers::pi;
constexpr double kAcquireSeconds = 2;  // no signal reported before this
constexpr int kTrackingElevation = 5;  // lower satellites are listed but not tracked
constexpr int kUsableSnr = 25;

}  // namespace

std::vector<SatelliteView> SatellitesAt(double t) {
    std::vector<SatelliteView> sky;
    for (const Orbit& o : kOrbits) {
        const double elevation =
            o.elevationMid + o.elevationSwing * std::sin(2 * kPi * t / o.period + o.phase);
        if (elevation < 0)
            continue;
        SatelliteView sat;
        sat.prn = o.prn;
        sat.elevation = std::min(90, static_cast<int>(std::lround(elevation)));
        const double azimuth = std::fmod(o.azimuth0 + o.azimuthRate * t, 360.0);
        sat.azimuth = static_cast<int>(std::lround(azimuth < 0 ? azimuth + 360 : azimuth)) % 360;
        if (t >= kAcquireSeconds && sat.elevation >= kTrackingElevation) {
            const double flicker = 3 * std::sin(t / 7 + o.prn);
            sat.snr =
                std::clamp(static_cast<int>(std::lround(18 + 0.35 * elevation + flicker)), 0, 55);
        }
        sky.push_back(sat);
    }
    return sky;
}

bool UsedInFix(const SatelliteView& sat) {
    return sat.snr >= kUsableSnr;
}

}  // namespace kem::kemsim
