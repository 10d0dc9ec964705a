#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kem {

// KEMGPS --export-squares OUT: the history of visited squares of the program folder as CSV, without
// a window, building the history first when there is none. OUT "-" is the standard output.
// Returns the exit code (0 done; 1 failed, with a message on the standard error); nothing when the
// arguments ask for no export.
std::optional<int> runSquareExport(const std::vector<std::string>& arguments);

}  // namespace kem
