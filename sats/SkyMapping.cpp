#include "sats/SkyMapping.h"

#include <cmath>
#include <string_view>

#include "base/TextRules.h"

namespace kem::sats {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

int nearestEven(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::int32_t leadingNumber(std::string_view text, std::size_t width) {
    return TextToInt(text.substr(0, width));
}

}  // namespace

PlotPoint skyPoint(int elevation, int azimuth) {
    const int r = kPlotRadius * (90 - elevation) / 90;
    const float radians = static_cast<float>(azimuth * kPi / 180);
    return {kPlotRadius + nearestEven(std::sin(static_cast<long double>(radians)) * r),
            kPlotRadius - nearestEven(std::cos(static_cast<long double>(radians)) * r)};
}

SnrClass snrClass(int snr) {
    if (snr < 10) {
        return SnrClass::Below10;
    }
    if (snr < 20) {
        return SnrClass::From10;
    }
    if (snr < 30) {
        return SnrClass::From20;
    }
    return snr <= 40 ? SnrClass::From30To40 : SnrClass::Above40;
}

SkySatellite readSatellite(const gps::SatelliteInfo& row) {
    return {TextToInt(row.NrText), leadingNumber(row.ElevationText, 2),
            leadingNumber(row.AzimuthText, 3), leadingNumber(row.SnrText, 2)};
}

std::vector<SkySatellite> satellitesToPlot(const gps::SatelliteTable& table) {
    std::vector<SkySatellite> satellites;
    for (int row = 1; row <= gps::SatelliteTable::kRows; ++row) {
        const gps::SatelliteInfo& info = table.Row(row);
        if (info.NrText.empty() || info.ElevationText.empty() || info.AzimuthText.empty()) {
            break;
        }
        satellites.push_back(readSatellite(info));
    }
    return satellites;
}

}  // namespace kem::sats
