#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kem::archive::test {

// The codes of a Shrink stream read back, widths followed through the "256, 1" pairs. Positions
// count the data codes that came before the control pair.
struct ShrinkCodes {
    std::vector<int> data;
    std::vector<std::size_t> widenedAfter;
    std::vector<std::size_t> clearedAfter;
    std::vector<int> otherControls;  // the code after a 256 that was neither 1 nor 2
    unsigned finalWidth = 9;
};

ShrinkCodes ReadShrinkCodes(std::span<const std::uint8_t> stream);

// Deterministic test data: `size` bytes drawn from the first `alphabet` byte values.
std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned alphabet, std::uint32_t seed);

}  // namespace kem::archive::test
