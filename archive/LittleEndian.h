#pragma once

#include <cstdint>

namespace kem::archive {

// Little-endian fields of the archive records, read and written byte by byte so that neither the
// host's byte order nor its alignment matters.
inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(std::uint8_t* p, std::uint32_t v) {
    PutU16(p, static_cast<std::uint16_t>(v));
    PutU16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace kem::archive
