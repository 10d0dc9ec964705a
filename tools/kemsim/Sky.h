#pragma once

#include <vector>

namespace kem::kemsim {

// One satellite above the horizon as a receiver reports it.
struct SatelliteView {
    int prn = 0;
    int elevation = 0;  // degrees, 0..90
    int azimuth = 0;    // degrees, 0..359
    int snr = -1;       // dB-Hz; -1 while not tracked
};

// The satellites in view t seconds after the start, in PRN order: eight that stay up and four
// that rise and set, so 8 to 12 are listed. They cross the sky several degrees a minute;
// signals are acquired during the first seconds and grow with elevation.
std::vector<SatelliteView> SatellitesAt(double t);

// Tracked satellites strong enough for the position solution.
bool UsedInFix(const SatelliteView& sat);

}  // namespace kem::kemsim
