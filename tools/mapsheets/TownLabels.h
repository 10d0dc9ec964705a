#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "tools/mapsheets/MapPicture.h"

namespace kem::mapsheets {

// What the program itself draws over every sheet (grey grid lines, the square code at (62, 5)
// and the eight WWL labels in opaque white boxes), each box with a little room to spare.
std::vector<Box> ProgramMarks();

// Finds room for the names of one sheet's towns: inside the sheet, clear of the program's marks,
// of the town dots and of the names placed before.
class LabelPlacer {
public:
    LabelPlacer();

    // Keeps box free of names (a town dot).
    void Keep(const Box& box) { m_taken.push_back(box); }

    // What a name would hide at a place (the map's features under it); lower is better.
    using Cost = std::function<int(const Box& place)>;

    // A place for a width x height name beside a town's dot: of the free places, the one that
    // hides least, the nearer one of equals; nothing when there is no room. The place found is
    // kept from then on.
    std::optional<Box> Place(const Box& dot, int width, int height, const Cost& cost);

private:
    bool Free(const Box& box) const;

    std::vector<Box> m_taken;
};

}  // namespace kem::mapsheets
