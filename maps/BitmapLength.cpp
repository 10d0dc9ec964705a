#include "maps/BitmapLength.h"

#include <cstdlib>

namespace kem::maps {
namespace {

std::uint32_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

// Compression values of the info header whose rows are stored uncompressed.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

}  // namespace

// File header: 0 "BM", 2 file size, 6 reserved, 10 offset of the pixel data.
// Then the core header (12 bytes: 14 size, 18 width u16, 20 height u16, 22 planes, 24 bits per
// pixel) or an info header (40 bytes or more: 14 size, 18 width i32, 22 height i32 (negative:
// top-down), 26 planes, 28 bits per pixel, 30 compression, 34 image size).
std::optional<std::uint64_t> declaredBitmapLength(std::span<const std::uint8_t> head) {
    if (head.size() < 18 || head[0] != 'B' || head[1] != 'M') {
        return std::nullopt;
    }
    const std::uint64_t offset = u32(head, 10);
    const std::uint32_t headerSize = u32(head, 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    if (headerSize == 12 && head.size() >= 26) {
        width = u16(head, 18);
        height = u16(head, 20);
        bits = u16(head, 24);
    } else if (headerSize >= 40 && head.size() >= kBitmapHeadSize) {
        width = static_cast<std::int32_t>(u32(head, 18));
        height = std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(u32(head, 22))));
        bits = u16(head, 28);
        const std::uint32_t compression = u32(head, 30);
        if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) {
            return offset + u32(head, 34);
        }
    } else {
        return std::nullopt;
    }
    if (width <= 0 || bits == 0) {
        return std::nullopt;
    }
    // Rows are padded to whole 32-bit words.
    const std::uint64_t row = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return offset + row * static_cast<std::uint64_t>(height);
}

}  // namespace kem::maps
