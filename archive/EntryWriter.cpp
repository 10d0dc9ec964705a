#include "archive/EntryWriter.h"

namespace kem::archive {

std::uint32_t EntryWriter::Crc() {
    m_register = Crc32UpdateBlock(m_buffer.data() + m_summed, m_used - m_summed, m_register);
    m_summed = m_used;
    return ~m_register;
}

void EntryWriter::Flush() {
    Crc();
    m_sink.Write(m_buffer.first(m_used));
    m_used = 0;
    m_summed = 0;
}

}  // namespace kem::archive
