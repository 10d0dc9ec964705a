#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/mapsheets/LandMask.h"
#include "tools/mapsheets/MapFeatures.h"
#include "tools/mapsheets/MapPicture.h"

namespace kem::mapsheets {

// The committed extracts of the open map data (data/mapdata/).
struct MapExtracts {
    LandMask mask;
    std::vector<Polyline> rivers;
    std::vector<Polyline> borders;
    std::vector<Town> towns;  // largest first
};

// Reads landmask.rle, rivers.txt, borders.txt and towns.tsv from folder (ending in "/").
// Throws IoError or std::runtime_error when one is missing or broken.
MapExtracts ReadExtracts(const std::string& folder);

// A town's name as the sheets show it, major towns in bold, with a one-pixel margin all round.
using TextRasterizer = std::function<TextImage(const std::string& name, bool major)>;

struct RenderCounts {
    int towns = 0;
    int named = 0;  // towns whose name found room on their sheet
};

// The whole grid: water, shores, rivers, dashed borders, town dots and, where there is room on
// the town's own sheet, its name. Throws std::runtime_error for a mask of another size.
MapPicture RenderMap(const MapExtracts& extracts, const TextRasterizer& text,
                     RenderCounts* counts = nullptr);

// Writes every sheet as <code>.bmp into staging (emptied first) and packs each alone into
// mapDir/<code>.z with the archive component, exactly as the map packer does; the bitmaps are
// removed afterwards. Throws std::runtime_error when an archive could not be made.
void PackSheets(const MapPicture& map, const std::string& staging, const std::string& mapDir);

}  // namespace kem::mapsheets
