#include "archive/Crc32.h"

#include <array>

namespace kem::archive {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// Slicing-by-4 tables: row 0 is the standard byte table (entry 1 is 0x77073096); the other rows
// let the block loop consume four bytes per step.
using Tables = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr Tables MakeTables() {
    Tables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) ? kPolynomial ^ (c >> 1) : c >> 1;
        }
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n) {
        for (std::size_t row = 1; row < 4; ++row) {
            t[row][n] = t[0][t[row - 1][n] & 0xFFu] ^ (t[row - 1][n] >> 8);
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();
static_assert(kTables[0][1] == 0x77073096u);

}  // namespace

std::uint32_t Crc32Update(std::uint8_t byte, std::uint32_t crc) {
    return kTables[0][(crc ^ byte) & 0xFFu] ^ (crc >> 8);
}

std::uint32_t Crc32UpdateBlock(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    while (size >= 4) {
        crc ^= std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
               std::uint32_t{data[3]} << 24;
        crc = kTables[3][crc & 0xFFu] ^ kTables[2][(crc >> 8) & 0xFFu] ^
              kTables[1][(crc >> 16) & 0xFFu] ^ kTables[0][crc >> 24];
        data += 4;
        size -= 4;
    }
    while (size-- > 0) {
        crc = Crc32Update(*data++, crc);
    }
    return crc;
}

}  // namespace kem::archive
