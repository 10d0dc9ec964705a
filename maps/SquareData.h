#pragma once

#include <array>
#include <string>

namespace kem::maps {

// The eight WWL locators of a square's sheet, north-west first, row by row.
using SquareCells = std::array<std::string, 8>;

// The square data file's name; the file is found in the program folder without regard to case.
inline constexpr const char* kSquareDataName = "KEMWWL.dat";

// The file in folder whose name equals name without regard to ASCII letter case (the exact
// name first); folder + name when there is none.
std::string findFileNoCase(const std::string& folder, const std::string& name);

// Reads the cells of code from the square data file: each line whose first three characters
// are code exactly gives, after four characters, eight fields of six characters each followed
// by one separator; the last matching line wins; no line gives empty cells. Throws IoError when
// the file cannot be opened.
SquareCells readSquareCells(const std::string& dataFile, const std::string& code);

}  // namespace kem::maps
