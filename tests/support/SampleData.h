#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kem::archive::sample {

// A 172 x 306 24-bit Windows bitmap that looks like a map sheet: flat areas of land, forest and
// water, roads, the 2 x 4 grid of subsquares and blocky locator lettering.
std::vector<std::uint8_t> MapSheetBmp(std::uint32_t seed);

// `size` bytes alternating between text, random bytes, long runs, few-symbol noise and map
// sheets, in blocks of varying length: it fills the Shrink dictionary again and again.
std::vector<std::uint8_t> MixedData(std::size_t size, std::uint32_t seed);

}  // namespace kem::archive::sample
