#include "archive/BinaryFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/IoError.h"

namespace kem::archive {

namespace {

int Open(const std::string& path, BinaryFile::Mode mode) {
    const int flags = mode == BinaryFile::Mode::Read ? O_RDONLY : O_RDWR | O_CREAT | O_TRUNC;
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

BinaryFile::BinaryFile(const std::string& path, Mode mode)
    : m_path(path), m_file(Open(path, mode)) {}

// Repeats `io` (a read or a write of the bytes from an offset on) until `size` bytes went
// through or it moved none, which for a read is the end of the file.
template <class Io>
std::size_t BinaryFile::Repeat(std::size_t size, const char* what, Io io) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = io(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail(what);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t BinaryFile::Read(std::uint8_t* data, std::size_t size) {
    return Repeat(size, "Unable to read",
                  [&](std::size_t done) { return ::read(m_file.Get(), data + done, size - done); });
}

void BinaryFile::ReadExact(std::uint8_t* data, std::size_t size) {
    if (Read(data, size) != size) {
        throw IoError("Unable to read " + m_path + ": unexpected end of file");
    }
}

void BinaryFile::Write(const std::uint8_t* data, std::size_t size) {
    const std::size_t written = Repeat(size, "Unable to write to", [&](std::size_t done) {
        return ::write(m_file.Get(), data + done, size - done);
    });
    if (written != size) {
        errno = ENOSPC;
        Fail("Unable to write to");
    }
}

void BinaryFile::Seek(std::uint64_t offset) {
    if (::lseek(m_file.Get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
        Fail("Unable to seek in");
    }
}

void BinaryFile::SeekEnd() {
    if (::lseek(m_file.Get(), 0, SEEK_END) < 0) {
        Fail("Unable to seek in");
    }
}

std::uint64_t BinaryFile::Position() const {
    const off_t at = ::lseek(m_file.Get(), 0, SEEK_CUR);
    if (at < 0) {
        Fail("Unable to seek in");
    }
    return static_cast<std::uint64_t>(at);
}

void BinaryFile::Truncate() {
    if (::ftruncate(m_file.Get(), static_cast<off_t>(Position())) != 0) {
        Fail("Unable to cut");
    }
}

void BinaryFile::Fail(const char* what) const {
    if (!IsOpen()) {
        throw IoError(std::string(what) + " " + m_path + ": file not open");
    }
    throw IoError::FromErrno(what, m_path);
}

}  // namespace kem::archive
