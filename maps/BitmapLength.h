#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kem::maps {

// The leading bytes of a Windows bitmap file that declaredBitmapLength reads.
inline constexpr std::size_t kBitmapHeadSize = 38;

// The length a Windows bitmap file must have by its own headers: the offset of the pixel data
// plus the rows that its width, height and bits per pixel make (for compressed data the stored
// image size). Nothing when the headers cannot be read; the picture reader judges such a file.
std::optional<std::uint64_t> declaredBitmapLength(std::span<const std::uint8_t> head);

}  // namespace kem::maps
