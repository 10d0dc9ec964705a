#pragma once

#include <optional>
#include <string>

namespace kem {

// The running program's folder (base/ProgramFolder.h), chosen from the executable's folder and
// the environment, its per-user copy brought up to date first. A failure is shown in the
// standard error box; when there is no folder to work in at all the result is empty and the
// program should end.
std::optional<std::string> openProgramFolder();

}  // namespace kem
