#pragma once

#include <cstdint>
#include <vector>

namespace kem::archive {

// Packs codes least significant bit first, as shrink, reduce and implode store them: the bits of
// each code fill the bytes from their lowest bit upward. Completed bytes gather in Bytes(), which
// the owner empties as it likes.
class BitWriter {
public:
    static constexpr unsigned kMaxWidth = 24;

    // Appends the low `width` bits of `code` (width 1 to kMaxWidth; `code` has no higher bits).
    BitWriter& Write(std::uint32_t code, unsigned width) {
        m_bits |= code << m_held;
        m_held += width;
        while (m_held >= 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(m_bits));
            m_bits >>= 8;
            m_held -= 8;
        }
        return *this;
    }

    // Completes a partly filled last byte with zero bits; the next code starts a new byte.
    BitWriter& Flush() {
        if (m_held > 0) {
            m_bytes.push_back(static_cast<std::uint8_t>(m_bits));
            m_bits = 0;
            m_held = 0;
        }
        return *this;
    }

    // The completed bytes.
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

    // Forgets the pending bits and the completed bytes.
    void Clear() {
        m_bytes.clear();
        m_bits = 0;
        m_held = 0;
    }

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint32_t m_bits = 0;  // bits not yet in a byte, the next one to go in bit 0
    unsigned m_held = 0;       // how many of them (0 to 7 between calls)
};

}  // namespace kem::archive
