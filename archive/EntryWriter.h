#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "archive/Crc32.h"

namespace kem::archive {

// Where an entry's decoded bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes the whole block or throws.
    virtual void Write(std::span<const std::uint8_t> block) = 0;
};

// The byte writer of the decoders: buffers the entry's output, counts it and keeps its CRC-32.
class EntryWriter {
public:
    // `buffer` is the output buffer; it is written out to `sink` whenever it is full.
    EntryWriter(ByteSink& sink, std::span<std::uint8_t> buffer) : m_sink(sink), m_buffer(buffer) {}

    void WriteOut(std::uint8_t byte) {
        m_buffer[m_used++] = byte;
        ++m_written;
        if (m_used == m_buffer.size()) {
            Flush();
        }
    }

    // Bytes written for the entry so far.
    std::uint64_t Written() const { return m_written; }

    // CRC-32 of every byte written so far, in its stored form.
    std::uint32_t Crc();

    // Hands the buffered bytes to the sink.
    void Flush();

private:
    ByteSink& m_sink;
    std::span<std::uint8_t> m_buffer;
    std::size_t m_used = 0;
    std::size_t m_summed = 0;  // leading bytes of the buffer already in m_register
    std::uint64_t m_written = 0;
    std::uint32_t m_register = kCrc32Start;
};

}  // namespace kem::archive
