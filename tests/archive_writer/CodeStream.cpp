#include "CodeStream.h"

namespace kem::archive::test {

ShrinkCodes ReadShrinkCodes(std::span<const std::uint8_t> stream) {
    ShrinkCodes result;
    std::size_t bitPos = 0;
    const std::size_t totalBits = stream.size() * 8;
    auto read = [&](unsigned width) {
        int code = 0;
        for (unsigned i = 0; i < width; ++i, ++bitPos) {
            code |= ((stream[bitPos / 8] >> (bitPos % 8)) & 1) << i;
        }
        return code;
    };
    // Fewer bits than one code are the zero padding of the last byte.
    while (totalBits - bitPos >= result.finalWidth) {
        const int code = read(result.finalWidth);
        if (code != 256) {
            result.data.push_back(code);
            continue;
        }
        if (totalBits - bitPos < result.finalWidth) {
            break;
        }
        const int control = read(result.finalWidth);
        if (control == 1) {
            result.widenedAfter.push_back(result.data.size());
            ++result.finalWidth;
        } else if (control == 2) {
            result.clearedAfter.push_back(result.data.size());
        } else {
            result.otherControls.push_back(control);
        }
    }
    return result;
}

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned alphabet, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t state = seed;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>((state >> 16) % alphabet);
    }
    return bytes;
}

}  // namespace kem::archive::test
