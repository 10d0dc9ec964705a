#pragma once

#include <cstddef>
#include <cstdint>

namespace kem::archive::fuzz {

// Extracts `data` as a whole archive: writes it to a scratch file, runs TUnZip::Extract into a
// scratch directory with every report and progress event collected, then empties the directory.
// Shared by the fuzz target and the replay of its corpus in the unit tests.
void ExtractWholeArchive(const std::uint8_t* data, std::size_t size);

}  // namespace kem::archive::fuzz
