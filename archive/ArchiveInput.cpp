#include "archive/ArchiveInput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/IoError.h"

namespace kem::archive {

ArchiveInput::ArchiveInput(const std::string& path, std::span<std::uint8_t> buffer)
    : m_path(path), m_buffer(buffer), m_file(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (m_file.Get() >= 0) {
        Fill();
    }
}

int ArchiveInput::ReadBlockByte() {
    if (m_atEnd) {
        return -1;
    }
    m_bufferOffset += m_valid;
    Fill();
    if (m_valid == 0) {
        m_atEnd = true;
        return -1;
    }
    return m_buffer[m_next++];
}

void ArchiveInput::Fill() {
    m_next = 0;
    m_valid = 0;
    ssize_t got;
    do {
        got = ::read(m_file.Get(), m_buffer.data(), m_buffer.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        throw IoError::FromErrno("Unable to read", m_path);
    }
    m_valid = static_cast<std::size_t>(got);
}

int ArchiveInput::Skip(std::uint64_t count) {
    if (count <= m_valid - m_next) {
        m_next += count;
        return 0;
    }
    const std::uint64_t target = m_bufferOffset + m_next + count;
    if (::lseek(m_file.Get(), static_cast<off_t>(target), SEEK_SET) < 0) {
        return errno;
    }
    m_bufferOffset = target;
    Fill();
    return 0;
}

}  // namespace kem::archive
