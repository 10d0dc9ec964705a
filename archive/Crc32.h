#pragma once

#include <cstddef>
#include <cstdint>

namespace kem::archive {

// CRC-32 of the ZIP format (reflected polynomial 0xEDB88320). The register starts at
// kCrc32Start and the stored checksum is its complement after the last byte.
inline constexpr std::uint32_t kCrc32Start = 0xFFFFFFFFu;

std::uint32_t Crc32Update(std::uint8_t byte, std::uint32_t crc);

// Runs Crc32Update over a block; the fast path used by the reader and the writer.
std::uint32_t Crc32UpdateBlock(const std::uint8_t* data, std::size_t size, std::uint32_t crc);

}  // namespace kem::archive
