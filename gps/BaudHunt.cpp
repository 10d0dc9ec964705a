#include "gps/BaudHunt.h"

#include <optional>

namespace kem::gps {

namespace {

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

}  // namespace

bool HasValidChecksum(std::string_view line) {
    // "$" body "*" hh
    if (line.size() < 4 || line.front() != '$' || line[line.size() - 3] != '*') {
        return false;
    }
    const auto high = HexDigit(line[line.size() - 2]);
    const auto low = HexDigit(line[line.size() - 1]);
    if (!high || !low) {
        return false;
    }
    unsigned sum = 0;
    for (const char c : line.substr(1, line.size() - 4)) {
        sum ^= static_cast<unsigned char>(c);
    }
    return sum == (*high << 4 | *low);
}

bool SentenceSpotter::Add(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && !m_spotted; ++i) {
        const char c = data[i];
        if (c == '\n' || c == '\0') {
            continue;
        }
        if (c == '\r') {
            m_spotted = !m_overlong && HasValidChecksum({m_line.data(), m_size});
            m_size = 0;
            m_overlong = false;
        } else if (m_size < m_line.size()) {
            m_line[m_size++] = c;
        } else {
            m_overlong = true;
        }
    }
    return m_spotted;
}

void SentenceSpotter::Reset() {
    m_size = 0;
    m_overlong = false;
    m_spotted = false;
}

std::uint32_t BaudHunt::Start() {
    m_index = 0;
    m_spotter.Reset();
    return Rate();
}

bool BaudHunt::Feed(const char* data, std::size_t size) {
    return m_spotter.Add(data, size);
}

std::uint32_t BaudHunt::Next() {
    m_index = (m_index + 1) % kRates.size();
    // What was half received at the old rate is no line at the new one.
    m_spotter.Reset();
    return Rate();
}

}  // namespace kem::gps
