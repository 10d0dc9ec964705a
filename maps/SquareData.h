#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

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

// The cells of every code of the data file at once, read by the same rule (the last line of a
// code wins). Throws IoError when the file cannot be opened.
std::map<std::string, SquareCells> readAllSquareCells(const std::string& dataFile);

// The square code of the first line of the data file that contains locator anywhere: its first
// three characters (fewer when the line is shorter); empty when no line does. Throws IoError
// when the file cannot be opened.
std::string findSquareOfLocator(const std::string& dataFile, std::string_view locator);

// The national grid: 16 letters of 10' latitude bands southwards from 56°30' N (A..P), 40
// numbers of 10' longitude bands eastwards from 20°50' E (00..39), so 53°50'-56°30' N by
// 20°50'-27°30' E.
inline constexpr int kGridLetters = 16;
inline constexpr int kGridNumbers = 40;

// The contents of the shipped square data file: one line per square of the grid, A00 first and
// row by row, its code, a blank, and the WWL locators of its eight subsquares (north-west first,
// row by row), each followed by a blank; lines end in CR LF.
std::string squareDataText();

}  // namespace kem::maps
