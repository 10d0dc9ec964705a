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
                CloseLine(false);
            }
            run = p + 1;
        } else if (m_pending.size() + static_cast<std::size_t>(p - run) == kMaxLine) {
            m_pending.append(run, p);
            CloseLine(true);
            run = p;
        }
    }
    m_pending.append(run, end);
    return m_count;
}

void LineAssembler::CloseLine(bool cut) {
    if (m_count == m_lines.size()) {
        m_lines.emplace_back();
        m_cut.push_back(false);
    }
    // The pending line becomes the line; the slot's old buffer is reused as the new pending line.
    m_lines[m_count].swap(m_pending);
    m_cut[m_count] = cut;
    m_pending.clear();
    ++m_count;
}

}  // namespace kem::gps
