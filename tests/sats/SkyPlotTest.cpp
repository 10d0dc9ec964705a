// The sky plot without a window: where satellites land, how the table is read, the empty grid.
#include <gtest/gtest.h>

#include "sats/SkyPlot.h"

namespace kem::sats {
namespace {

TEST(SkyMapping, ElevationAndAzimuthToPixels) {
    struct Case {
        const char* name;
        int elevation;
        int azimuth;
        PlotPoint want;
    };
    const Case cases[] = {
        {"zenith", 90, 123, {135, 135}},
        {"horizon east", 0, 90, {270, 135}},
        {"horizon north", 0, 0, {135, 0}},
        {"north-east halfway up: r = 67", 45, 45, {182, 88}},
        {"30 degrees up south", 30, 180, {135, 225}},
        {"60 degrees up west", 60, 270, {90, 135}},
        {"r = 133.5 truncates", 1, 0, {135, 2}},
        // sin(210 degrees) * 135 is -67.49999 only with a single-precision azimuth.
        {"horizon at 210", 0, 210, {68, 252}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotPoint got = skyPoint(c.elevation, c.azimuth);
        EXPECT_EQ(got.x, c.want.x);
        EXPECT_EQ(got.y, c.want.y);
    }
}

TEST(SkyMapping, SignalToNoiseClassesAndTheirColours) {
    const std::pair<int, SnrClass> bounds[] = {
        {-5, SnrClass::Below10},    {9, SnrClass::Below10},     {10, SnrClass::From10},
        {19, SnrClass::From10},     {20, SnrClass::From20},     {29, SnrClass::From20},
        {30, SnrClass::From30To40}, {40, SnrClass::From30To40}, {41, SnrClass::Above40},
    };
    for (const auto& [snr, want] : bounds) {
        EXPECT_EQ(snrClass(snr), want) << snr << " dB";
    }
    // Only 10 to 19 dB differ between the plot and the legend.
    EXPECT_EQ(snrColours(SnrClass::From10).brush, QColor(128, 0, 128));
    EXPECT_EQ(snrColours(SnrClass::From10).swatch, QColor(255, 0, 255));
}

TEST(SkyMapping, TableRowsReadByFieldWidthUpToTheFirstIncompleteRow) {
    gps::SatelliteTable table;
    const gps::SatelliteInfo rows[] = {
        {"01", "40\xB0", "083\xB0", "46 dB"},
        {"7", "5\xB0", "45\xB0", ""},  // one-digit elevation, two-digit azimuth, no S/N
        {"x", "-3\xB0", "359\xB0", "9 dB"},
        {"14", "22\xB0", "", "45 dB"},  // no azimuth: the plot stops here
        {"15", "10\xB0", "100\xB0", "30 dB"},
    };
    for (int row = 1; row <= 5; ++row) {
        for (int column = 0; column < 4; ++column) {
            const auto c = static_cast<gps::SatColumn>(column);
            table.SetCell(row, c, rows[row - 1].Cell(c));
        }
    }
    const std::vector<SkySatellite> want = {{1, 40, 83, 46}, {7, 0, 0, 0}, {0, -3, 359, 0}};
    EXPECT_EQ(satellitesToPlot(table), want);
}

// Picture checks: the first pixel on a circle or line, the pixel beside it on either side.
struct Pixel {
    const char* name;
    int x;
    int y;
    QRgb want;
};

constexpr QRgb kFace = 0xFFD4D0C8;
constexpr QRgb kNavy = 0xFF000080;
constexpr QRgb kGrey = 0xFF808080;

void expectPixels(const QImage& picture, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(picture.pixel(p.x, p.y), p.want) << "at " << p.x << ", " << p.y;
    }
}

TEST(SkyPlotGrid, NavyDiscGreyCirclesAndDiametersOnTheButtonFace) {
    SkyPlot plot(QColor::fromRgb(kFace));
    plot.Sat(1, 45, 45, 45);
    plot.RefreshImage(QColor::fromRgb(kFace));  // takes the dot away again
    const QImage& picture = plot.Picture();
    ASSERT_EQ(picture.size(), QSize(270, 270));
    // Row 134 and column 134 cross each circle away from the diameters.
    expectPixels(picture, {
                              {"corner NW", 0, 0, kFace},        {"corner SE", 269, 269, kFace},
                              {"corner NE", 269, 0, kFace},      {"corner SW", 0, 269, kFace},
                              {"beside the rim", 1, 100, kFace}, {"horizon W", 0, 134, kGrey},
                              {"inside W", 1, 134, kNavy},       {"inside E", 268, 134, kNavy},
                              {"horizon E", 269, 134, kGrey},    {"horizon N", 134, 0, kGrey},
                              {"inside N", 134, 1, kNavy},       {"horizon S", 134, 269, kGrey},
                              {"out of 30 W", 44, 134, kNavy},   {"30 W", 45, 134, kGrey},
                              {"in 30 W", 46, 134, kNavy},       {"30 E", 224, 134, kGrey},
                              {"out of 30 E", 225, 134, kNavy},  {"30 N", 134, 45, kGrey},
                              {"out of 60 W", 89, 134, kNavy},   {"60 W", 90, 134, kGrey},
                              {"in 60 W", 91, 134, kNavy},       {"60 E", 179, 134, kGrey},
                              {"out of 60 E", 180, 134, kNavy},  {"60 S", 134, 179, kGrey},
                          });
    // The diameters: east-west and north-south from rim to rim, then 30 and 60 degrees off
    // them, starting at R -/+ nearest(R sin A), R - nearest(R cos A) (67.5 rounds to 68).
    expectPixels(picture, {
                              {"centre", 135, 135, kGrey},
                              {"E-W west end", 1, 135, kGrey},
                              {"E-W east end", 268, 135, kGrey},
                              {"N-S north end", 135, 1, kGrey},
                              {"N-S south end", 135, 268, kGrey},
                              {"beside N-S", 136, 60, kNavy},
                              {"30 NW start", 67, 18, kGrey},
                              {"30 NE start", 203, 18, kGrey},
                              {"60 NW start", 18, 67, kGrey},
                              {"60 NE start", 252, 67, kGrey},
                              {"30 NW near centre", 125, 118, kGrey},
                              {"beside it", 122, 118, kNavy},
                              {"30 NE near centre", 145, 118, kGrey},
                              {"beside it", 148, 118, kNavy},
                              {"60 NW near centre", 118, 125, kGrey},
                              {"beside it", 118, 122, kNavy},
                              {"60 SW near centre", 118, 145, kGrey},
                              {"beside it", 118, 148, kNavy},
                          });
}

}  // namespace
}  // namespace kem::sats
