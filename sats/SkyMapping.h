#pragma once

#include <vector>

#include "gps/SatelliteTable.h"

// Where a satellite lands on the sky plot and how it is coloured, without any drawing.
namespace kem::sats {

// The plot is 2R x 2R pixels with the zenith at (R, R) and the horizon as its outer circle.
inline constexpr int kPlotRadius = 135;

struct PlotPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PlotPoint&) const = default;
};

// A satellite at whole degrees of elevation and azimuth: north up, east right, at
// R * (90 - elevation) div 90 pixels from the zenith (truncated). The azimuth in radians is
// single precision and pixels round half to even, which decides dots on a pixel boundary. Values
// outside 0..90 and 0..359 land off the horizon or wrap around; nothing is rejected.
PlotPoint skyPoint(int elevation, int azimuth);

// The dots' signal-to-noise classes in dB: below 10, 10 to 19, 20 to 29, 30 to 40, above 40.
enum class SnrClass { Below10, From10, From20, From30To40, Above40 };
SnrClass snrClass(int snr);

// One row of the satellite table as the plot reads it.
struct SkySatellite {
    int number = 0;
    int elevation = 0;
    int azimuth = 0;
    int snr = 0;
    bool operator==(const SkySatellite&) const = default;
};

// The whole number text, and the first 2 characters of the elevation, 3 of the azimuth and 2 of
// the signal-to-noise ratio: the NMEA field widths, so the units after them are left out. A text
// that is not an integer reads as 0 ("5°" is elevation 0, an empty S/N is 0 dB).
SkySatellite readSatellite(const gps::SatelliteInfo& row);

// The satellites one plot draws, in row order: rows 1 on, up to the first row whose number,
// elevation or azimuth is empty.
std::vector<SkySatellite> satellitesToPlot(const gps::SatelliteTable& table);

}  // namespace kem::sats
