#include "tools/mapsheets/TownLabels.h"

#include <algorithm>

#include "tools/mapsheets/SheetGrid.h"

namespace kem::mapsheets {
namespace {

// The program's texts: the code in 24-pixel bold (three characters, at most about 54 pixels wide
// and 28 high) and the locators in 11-pixel bold (six characters, at most about 50 by 14).
constexpr Box kTitle{62, 5, 62 + 58, 5 + 30};
constexpr int kLocatorWidth = 54;
constexpr int kLocatorHeight = 16;
constexpr int kLocatorLeft[2] = {20, 110};
constexpr int kLocatorTop[4] = {40, 110, 185, 265};
constexpr int kGridRows[3] = {77, 153, 230};
constexpr int kGridColumn = 86;

}  // namespace

std::vector<Box> ProgramMarks() {
    std::vector<Box> marks{kTitle};
    for (const int top : kLocatorTop) {
        for (const int left : kLocatorLeft) {
            marks.push_back({left - 2, top - 2, left + kLocatorWidth, top + kLocatorHeight});
        }
    }
    for (const int y : kGridRows) {
        marks.push_back({0, y, kSheetWidth, y + 1});
    }
    marks.push_back({kGridColumn, 0, kGridColumn + 1, kSheetHeight});
    return marks;
}

LabelPlacer::LabelPlacer() : m_taken(ProgramMarks()) {}

bool LabelPlacer::Free(const Box& box) const {
    // A pixel off the sheet's edges: names and their halos never reach the next sheet.
    return box.left >= 1 && box.top >= 1 && box.right < kSheetWidth && box.bottom < kSheetHeight &&
           std::none_of(m_taken.begin(), m_taken.end(),
                        [&](const Box& taken) { return taken.Overlaps(box); });
}

std::optional<Box> LabelPlacer::Place(const Box& dot, int width, int height, const Cost& cost) {
    // Right of the dot, left of it, then above and below, each first centred and then shifted a
    // little at a time. The name's own margin keeps it off the dot.
    const int middleY = (dot.top + dot.bottom) / 2;
    const int middleX = (dot.left + dot.right) / 2;
    std::vector<Box> candidates;
    for (const int shift : {0, -3, 3, -6, 6, -9, 9, -12, 12}) {
        const int top = middleY - height / 2 + shift;
        candidates.push_back({dot.right, top, dot.right + width, top + height});
        candidates.push_back({dot.left - width, top, dot.left, top + height});
    }
    for (const int shift : {0, -1, 1, -2, 2}) {
        const int left = middleX - width / 2 + shift * width / 4;
        candidates.push_back({left, dot.top - height, left + width, dot.top});
        candidates.push_back({left, dot.bottom, left + width, dot.bottom + height});
    }
    std::optional<Box> best;
    int bestCost = 0;
    for (const Box& box : candidates) {
        if (!Free(box)) {
            continue;
        }
        const int hidden = cost(box);
        if (!best || hidden < bestCost) {
            best = box;
            bestCost = hidden;
        }
    }
    if (best) {
        m_taken.push_back(*best);
    }
    return best;
}

}  // namespace kem::mapsheets
