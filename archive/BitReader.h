#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kem::archive {

// Where an entry's compressed bytes come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next byte, or -1 when the entry's data has run out.
    virtual int ReadByte() = 0;
};

// A byte source over a block in memory (tests, benchmarks).
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> data) : m_data(data) {}
    int ReadByte() override { return m_next < m_data.size() ? m_data[m_next++] : -1; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_next = 0;
};

// Reads codes least significant bit first, as shrink, reduce and implode pack them. A byte is
// fetched only when the bits already held do not suffice.
class BitReader {
public:
    static constexpr unsigned kMaxWidth = 24;

    explicit BitReader(ByteSource& source) : m_source(source) {}

    // The next `width` bits (1 to kMaxWidth), the first bit read as bit 0; -1 when the data ran
    // out before `width` bits were collected.
    int Read(unsigned width) {
        while (m_held < width) {
            const int byte = m_source.ReadByte();
            if (byte < 0) {
                // The bits collected so far went into the failed read.
                m_bits = 0;
                m_held = 0;
                return -1;
            }
            m_bits |= static_cast<std::uint32_t>(byte) << m_held;
            m_held += 8;
        }
        const int value = static_cast<int>(m_bits & ((1u << width) - 1));
        Skip(width);
        return value;
    }

    // For decoders that look at the coming bits before they know how many they use: the bits
    // fetched but not yet used, the next one in bit 0 (every bit above them is 0), and their count.
    std::uint32_t Held() const { return m_bits; }
    unsigned HeldCount() const { return m_held; }

    // Fetches one more byte behind the held bits (while fewer than kMaxWidth are held); false,
    // with the held bits kept, when the data has run out.
    bool Fetch() {
        const int byte = m_source.ReadByte();
        if (byte < 0) {
            return false;
        }
        m_bits |= static_cast<std::uint32_t>(byte) << m_held;
        m_held += 8;
        return true;
    }

    // Uses up `width` of the held bits (at most HeldCount()).
    void Skip(unsigned width) {
        m_bits >>= width;
        m_held -= width;
    }

private:
    ByteSource& m_source;
    std::uint32_t m_bits = 0;  // bits fetched but not yet used, the next one in bit 0
    unsigned m_held = 0;       // how many of them
};

}  // namespace kem::archive
