#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/mapsheets/LandMask.h"
#include "tools/mapsheets/MapFeatures.h"

namespace kem::mapsheets {

// Places known to lie on the country's land, from which its land is found: the inland, and the
// two ends of its part of the Curonian Spit, which the lagoon and the strait cut off from it.
struct Place {
    double lat;
    double lon;
};
inline constexpr Place kCountrySeeds[] = {
    {54.8985, 23.9036},  // Kaunas
    {54.6872, 25.2797},  // Vilnius
    {55.5533, 21.1208},  // Juodkrante
    {55.3036, 21.0069},  // Nida
};

// The border line missing from the extract: across the Curonian Spit at 55°16.9' N, from the
// sea into the lagoon (the extract's border with Russia ends in the Nemunas mouth).
std::vector<Polyline> CompletedBorders(const std::vector<Polyline>& borders);

// Land cells of the mask (1) reachable from the seeds through land, side by side, without
// crossing a border line; every other cell 0. Borders run into the sea and lakes, so they
// close the country off.
std::vector<std::uint8_t> CountryLand(const LandMask& mask, const std::vector<Polyline>& borders,
                                      std::span<const Place> seeds);

// Per square of the grid, row by row from A00: whether any of its cells is country land.
std::vector<bool> SquaresWithLand(std::span<const std::uint8_t> country);

// Colour indices of the overview picture.
enum OverviewInk : std::uint8_t {
    kOverviewWater,
    kOverviewShore,
    kOverviewCountry,
    kOverviewAbroad,
    kOverviewBorder,
    kOverviewInkCount
};

// The whole grid shrunk scale times: each pixel shows what most of its cells are (water, country
// land or land abroad), water next to land as shore, and the border lines over it.
struct Overview {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // OverviewInk, rows from the north
};
Overview RenderOverview(const LandMask& mask, std::span<const std::uint8_t> country,
                        const std::vector<Polyline>& borders, int scale);

// The codes of the squares with land, one a line.
std::string SquareListText(const std::vector<bool>& squares);

}  // namespace kem::mapsheets
