#pragma once

#include <string>

namespace kem::mapsheets {

// The national grid as one picture: 16 rows of squares (letters A..P, 10' of latitude each,
// southwards from 56°30' N) by 40 columns (numbers 00..39, 10' of longitude each, eastwards from
// 20°50' E). Every square's sheet is 172 x 306 pixels, linear in minutes: 17.2 pixels per minute
// of longitude from its western edge, 30.6 per minute of latitude from its northern edge, as the
// program places its position marks.
constexpr int kSheetWidth = 172;
constexpr int kSheetHeight = 306;
constexpr int kRows = 16;
constexpr int kColumns = 40;
constexpr int kGridWidth = kColumns * kSheetWidth;
constexpr int kGridHeight = kRows * kSheetHeight;
constexpr double kNorthEdge = 56.5;               // degrees
constexpr double kWestEdge = 20.0 + 50.0 / 60.0;  // degrees

// A place on the whole grid's picture in pixels from its north-western corner; pixel (x, y) is
// the cell from x to x + 1 and y to y + 1.
struct GridPoint {
    double x = 0;
    double y = 0;
};

GridPoint ToGrid(double lat, double lon);

// "A00" for row 0, column 0; "P39" for the south-eastern square.
std::string SheetCode(int row, int column);

}  // namespace kem::mapsheets
