#pragma once

#include <string>
#include <vector>

#include "tools/mapsheets/SheetGrid.h"

namespace kem::mapsheets {

// A river or border line in the grid's pixels. level is the river class of its data (2 major,
// 3 additional major, 4 other rivers), 0 where the data gives none.
struct Polyline {
    int level = 0;
    std::vector<GridPoint> points;
};

// GMT's multi-segment text: a line starting with ">" opens a segment (its "Level N", if any,
// gives the level), every other line is "longitude latitude" in degrees. Lines that are not two
// numbers, or no place on earth, are skipped. Throws IoError when the file cannot be read.
std::vector<Polyline> ReadLines(const std::string& path);

struct Town {
    GridPoint place;
    int population = 0;
    std::string name;  // UTF-8
};

// Tab-separated "latitude longitude population country name" lines; malformed lines and places
// not on earth are skipped. Throws IoError when the file cannot be read.
std::vector<Town> ReadTowns(const std::string& path);

}  // namespace kem::mapsheets
