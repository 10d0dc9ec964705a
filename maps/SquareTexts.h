#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "maps/SquareData.h"
#include "maps/SquareHistory.h"

namespace kem::maps {

// The history as CSV for scripts and award lists: a header line, then one row per visited
// square in grid order: square, its eight WWL locators separated by blanks, first and last
// visit (YYYY-MM-DD, UTC; empty when unknown), position steps. Lines end in LF.
std::string SquaresCsv(const SquareHistory& history,
                       const std::map<std::string, SquareCells>& cells);

// What the overview tells of a square: its code, its locators in two rows of four, and its
// visits ("Aplankytas: first - last (UTC), N žingsn." or "Neaplankytas"), lines joined by LF;
// UTF-8.
std::string SquareInfoText(int index, const SquareHistory& history,
                           const std::map<std::string, SquareCells>& cells);

// A list of square codes, one a line (blanks, CR and unknown codes passed over), as a mask of
// the grid's squares.
std::vector<bool> GridMaskOfList(std::string_view text);

}  // namespace kem::maps
