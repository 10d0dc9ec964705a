#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/mapsheets/MapPicture.h"

namespace kem::mapsheets {

// A Windows bitmap file with 8 bits per pixel and the sheets' palette: BITMAPFILEHEADER,
// BITMAPINFOHEADER (96 dpi, uncompressed), the colour table, then the rows from the bottom up,
// each padded to 4 bytes. indices holds width * height palette indices, rows from the top.
std::vector<std::uint8_t> PaletteBitmap(int width, int height,
                                        std::span<const std::uint8_t> indices);

}  // namespace kem::mapsheets
