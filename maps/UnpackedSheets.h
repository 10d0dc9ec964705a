#pragma once

#include <string>

namespace kem::maps {

// Deletes the map sheets unpacked during a run: every "*.bmp" (letter case ignored) in the map
// folder whose ".z" archive lies beside it. A sheet that exists only as a bitmap is kept, since
// deleting it would lose it for good. Files that cannot be deleted are passed over silently, as
// is a missing folder.
void deleteUnpackedSheets(const std::string& mapFolder);

}  // namespace kem::maps
