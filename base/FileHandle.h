#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace kem {

// An owned POSIX file descriptor, closed once (at the latest by the destructor or when another
// one is moved in).
class FileHandle {
public:
    FileHandle() = default;
    // Takes the result of open(); a negative fd keeps errno as the reason.
    explicit FileHandle(int fd) : m_fd(fd), m_openError(fd < 0 ? errno : 0) {}
    FileHandle(FileHandle&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)), m_openError(other.m_openError) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_fd = std::exchange(other.m_fd, -1);
            m_openError = other.m_openError;
        }
        return *this;
    }
    ~FileHandle() { Close(); }

    int Get() const { return m_fd; }
    // errno of the failed open, or 0 when the file was opened.
    int OpenError() const { return m_openError; }

    // Gives up the descriptor without closing it.
    int Release() { return std::exchange(m_fd, -1); }

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
    int m_fd = -1;
    int m_openError = 0;
};

}  // namespace kem
