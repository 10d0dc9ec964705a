#include "archive/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/IoError.h"

namespace kem::archive {

OutputFile::OutputFile(const std::string& path) : m_path(path) {
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
        !S_ISDIR(existing.st_mode)) {
        ::unlink(path.c_str());
    }
    // O_NOFOLLOW: a link planted after the check makes the open fail instead of being followed.
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        m_openError = errno;
    }
}

OutputFile::~OutputFile() {
    Close();
}

void OutputFile::Write(std::span<const std::uint8_t> block) {
    while (!block.empty()) {
        const ssize_t done = ::write(m_fd, block.data(), block.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            throw IoError::FromErrno("Unable to write to", m_path, done < 0 ? errno : EIO);
        }
        block = block.subspan(static_cast<std::size_t>(done));
    }
}

void OutputFile::SetTime(std::optional<std::time_t> time) {
    if (!time) {
        return;
    }
    const timespec times[2] = {{0, UTIME_OMIT}, {*time, 0}};
    ::futimens(m_fd, times);
}

int OutputFile::Close() {
    if (m_fd < 0) {
        return 0;
    }
    const int result = ::close(m_fd);
    m_fd = -1;
    return result < 0 ? errno : 0;
}

}  // namespace kem::archive
