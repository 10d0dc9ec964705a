#include "tools/mapsheets/SheetGrid.h"

namespace kem::mapsheets {

GridPoint ToGrid(double lat, double lon) {
    return {(lon - kWestEdge) * 60.0 * 17.2, (kNorthEdge - lat) * 60.0 * 30.6};
}

std::string SheetCode(int row, int column) {
    return std::string(1, static_cast<char>('A' + row)) + static_cast<char>('0' + column / 10) +
           static_cast<char>('0' + column % 10);
}

}  // namespace kem::mapsheets
