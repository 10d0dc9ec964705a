#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "maps/SquareHistory.h"

namespace kem::maps {

// Each readable line of the measurement log's text as one position step in its square, at the
// line's UTC date and time (unknown when the line has no date). Positions outside the grid add
// nothing; unreadable lines are skipped and counted in damaged. The text is only read.
void AddLogText(SquareHistory& history, std::string_view logText, int& damaged);

// Each saved expedition map of folder ("K26_0307.bmp", "K26_0307_1.bmp") as a visit of the
// square its name begins with, at the file's last write time, with no position steps. Other
// files are passed over.
void AddSavedMaps(SquareHistory& history, const std::string& folder);

}  // namespace kem::maps
