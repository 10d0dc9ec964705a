#pragma once

#include <string>

namespace kem {

// The program folder, ending in "/": the folder of the executable, or the value of the
// environment variable KEMGPS_PROGRAM_DIR when it is set (tests and demos run the program on a
// folder of their own that way).
std::string programDirectory();

}  // namespace kem
