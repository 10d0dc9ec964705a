#include "gps/LineAssembler.h"

namespace kem::gps {

std::size_t LineAssembler::Add(const std::uint8_t* data, std::size_t size) {
    m_count = 0;
    const char* run = reinterpret_cast<const char*>(data);
    const char* const end = run + size;
    for (const char* p = run; p != end; ++p) {
        const char c = *p;
        if (c == '\r' || c == '\n' || c == '\0') {
            m_pending.append(run, p);
            if (c == '\r') {
                CloseLine();
            }
            run = p + 1;
        }
    }
    m_pending.append(run, end);
    if (m_pending.size() > kPendingCap) {
        m_pending.erase(0, m_pending.size() - kPendingCap);
    }
    return m_count;
}

void LineAssembler::CloseLine() {
    if (m_count == m_lines.size()) {
        m_lines.emplace_back();
    }
    // The pending line becomes the line; the slot's old buffer is reused as the new pending line.
    m_lines[m_count].swap(m_pending);
    m_pending.clear();
    ++m_count;
}

}  // namespace kem::gps
