#pragma once

#include <string>

#include "tools/mapsheets/MapPicture.h"

namespace kem::mapsheets {

// Town names drawn with the sheets' own typeface (Liberation Sans) without smoothing, so that
// they fit an 8-bit palette: 9 pixels, major towns 10 pixels bold. Needs a QGuiApplication.
TextImage QtTownName(const std::string& name, bool major);

}  // namespace kem::mapsheets
