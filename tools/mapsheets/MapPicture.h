#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/mapsheets/LandMask.h"
#include "tools/mapsheets/MapFeatures.h"

namespace kem::mapsheets {

// Colour indices of the sheets' palette.
enum Ink : std::uint8_t { kLand, kWater, kShore, kRiver, kBorder, kTown, kInkCount };

struct Rgb {
    std::uint8_t r, g, b;
};

// Land white; water light blue with a darker shore; rivers blue; borders purple; towns black.
// None of them is the program's grid grey or its red mark.
constexpr std::array<Rgb, kInkCount> kPalette = {{
    {255, 255, 255},
    {168, 208, 240},
    {64, 120, 192},
    {40, 96, 216},
    {160, 32, 160},
    {0, 0, 0},
}};

// A rectangle of pixels, right and bottom edges excluded.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Text as the sheets show it: width * height cells, 1 where the glyphs have ink.
struct TextImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> ink;
};

// The whole grid as one 8-bit picture, so that lines and shores run on across the sheet edges
// by construction; the sheets are cut from it.
class MapPicture {
public:
    // Water and land from the mask; water cells next to land (sideways or up and down) form the
    // shore line.
    explicit MapPicture(const LandMask& mask);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint8_t At(int x, int y) const { return m_pixels[Index(x, y)]; }

    // Rivers only on land (over lakes they would hide the shore); major ones two pixels wide.
    // Drawn before borders, dots and texts, which may cover them.
    void DrawRiver(const Polyline& river);
    // A dashed line two pixels wide; the dashes follow the length along the line, so they run on
    // across sheet edges.
    void DrawBorder(const Polyline& border);
    // A square dot of size pixels centred on the cell of place.
    void DrawDot(GridPoint place, int size);
    // Text with its top-left corner at (x, y), on a one-pixel white halo within its box.
    void DrawText(const TextImage& text, int x, int y);

    // The sheet of a square: kSheetWidth * kSheetHeight indices, rows from the north.
    std::vector<std::uint8_t> Sheet(int row, int column) const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * m_width + x; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    void Put(int x, int y, Ink ink);
    void PutBlock(int x, int y, int size, Ink ink);
    // Calls plot(x, y, length so far) for every cell along the line, in order.
    template <typename Plot>
    static void Walk(const Polyline& line, Plot&& plot);

    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

}  // namespace kem::mapsheets
