#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kem::mapsheets {

// What covers one cell of the grid's picture.
enum class Surface : std::uint8_t { Sea = 0, Land = 1, Lake = 2 };

// Land, sea and lakes of the whole grid, one cell per sheet pixel, rows from the north.
struct LandMask {
    int width = 0;
    int height = 0;
    std::vector<Surface> cells;  // width * height, row by row

    Surface At(int x, int y) const { return cells[static_cast<std::size_t>(y) * width + x]; }
    bool IsWater(int x, int y) const { return At(x, y) != Surface::Land; }
};

// The mask file: "KEMMASK1", width and height (32 bits, little-endian), then the cells row after
// row as runs, each an unsigned LEB128 number of length * 4 + surface. Coasts and lake shores
// are few, so the file stays small.
std::vector<std::uint8_t> EncodeMask(const LandMask& mask);

// Throws std::runtime_error for anything that is not a whole, well-formed mask file.
LandMask DecodeMask(std::span<const std::uint8_t> bytes);

// A raw mask as GMT writes it (one signed byte per cell: 0 sea, 1 land, 2 lake); throws
// std::runtime_error for a wrong size or another value.
LandMask MaskFromRaw(std::span<const std::uint8_t> raw, int width, int height);

// Whole files; throw IoError when they cannot be read or written.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace kem::mapsheets
