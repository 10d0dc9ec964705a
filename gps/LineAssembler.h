#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kem::gps {

// Turns received chunks into complete lines. NUL and line-feed bytes are dropped, a carriage
// return closes a line (two in a row give an empty line), and text after the last carriage return
// is carried in the pending line until the next chunk. Bytes are kept as they are (no code-page
// conversion).
class LineAssembler {
public:
    // A receiver at the wrong baud rate, or one that ends lines with LF alone, never sends a
    // carriage return. The pending line then keeps only its newest kPendingCap bytes: sentences
    // are at most 82 bytes, so whatever a late carriage return closes is garbage either way, and
    // memory stays bounded.
    static constexpr std::size_t kPendingCap = 4096;

    // Adds one chunk and returns the number of lines it completed.
    std::size_t Add(const std::uint8_t* data, std::size_t size);
    // The lines completed by the last Add, valid until the next Add.
    std::span<const std::string> Lines() const { return {m_lines.data(), m_count}; }

    const std::string& PendingLine() const { return m_pending; }
    void ClearPending() { m_pending.clear(); }

private:
    void CloseLine();

    std::string m_pending;
    // Grows to the largest batch seen; strings keep their capacity between chunks.
    std::vector<std::string> m_lines;
    std::size_t m_count = 0;
};

}  // namespace kem::gps
