#pragma once

#include <array>
#include <string>

#include "gps/GpsFix.h"

namespace kem {

// The eight WWL locators of a square's sheet, north-west first, row by row.
using SquareCells = std::array<std::string, 8>;

// The file in folder whose name equals name without regard to ASCII letter case (the exact
// name first); folder + name when there is none.
std::string findFileNoCase(const std::string& folder, const std::string& name);

// Reads the cells of code from the square data file: each line whose first three characters
// are code exactly gives, after four characters, eight fields of six characters each followed
// by one separator; the last matching line wins; no line gives empty cells. Throws IoError when
// the file cannot be opened.
SquareCells readSquareCells(const std::string& dataFile, const std::string& code);

// The first free expedition map name: folder + square + "_" + MMDD + ".bmp", else with "_1",
// "_2", ... before ".bmp".
std::string expeditionMapName(const std::string& folder, const std::string& square, int month,
                              int day);

// Appends one measurement log line: date and time, latitude, longitude, altitude and geoid
// separation texts joined by TAB, ended by CR LF. Throws IoError when the file is missing or
// cannot be written (it is created only at start-up).
void appendLogLine(const std::string& logFile, const gps::GpsFix& fix);

}  // namespace kem
