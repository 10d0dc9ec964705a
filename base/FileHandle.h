#pragma once

#include <unistd.h>

#include <cerrno>

namespace kem {

// An owned POSIX file descriptor, closed once (at the latest by the destructor).
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd), m_openError(fd < 0 ? errno : 0) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    int Get() const { return m_fd; }
    // errno of the failed open, or 0 when the file was opened.
    int OpenError() const { return m_openError; }

    // Gives errno of a failed close, else 0.
    int Close() {
        if (m_fd < 0) {
            return 0;
        }
        const int result = ::close(m_fd);
        m_fd = -1;
        return result < 0 ? errno : 0;
    }

private:
    int m_fd;
    int m_openError;
};

}  // namespace kem
