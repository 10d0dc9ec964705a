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
//
// A receiver at the wrong baud rate delivers garbage with few or no carriage returns, and one
// that ends its lines with LF alone sends none. Text that runs past kMaxLine bytes without a
// carriage return is therefore no sentence: it is closed as a cut piece, which is shown in the text
// window like a line but not decoded, and the pending line starts anew.
class LineAssembler {
public:
    // Twice the longest NMEA sentence (82 bytes with "$" and CR LF).
    static constexpr std::size_t kMaxLine = 164;

    // Adds one chunk and returns the number of lines (cut pieces included) it completed.
    std::size_t Add(const std::uint8_t* data, std::size_t size);
    // The lines completed by the last Add, valid until the next Add.
    std::span<const std::string> Lines() const { return {m_lines.data(), m_count}; }
    // Whether line `index` of Lines() is a cut piece of overlong text.
    bool IsCutPiece(std::size_t index) const { return m_cut[index]; }

    const std::string& PendingLine() const { return m_pending; }
    void ClearPending() { m_pending.clear(); }

private:
    void CloseLine(bool cut);

    std::string m_pending;
    // Grow to the largest batch seen; strings keep their capacity between chunks.
    std::vector<std::string> m_lines;
    std::vector<bool> m_cut;
    std::size_t m_count = 0;
};

}  // namespace kem::gps
