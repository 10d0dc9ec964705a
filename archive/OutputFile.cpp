#include "archive/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/IoError.h"

namespace kem::archive {

namespace {

// Removes a link, pipe or device found at `path`, so that the file made there is a new regular
// one; a directory stays and makes the creation fail.
const std::string& Unplanted(const std::string& path) {
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
        !S_ISDIR(existing.st_mode)) {
        ::unlink(path.c_str());
    }
    return path;
}

}  // namespace

// O_NOFOLLOW: a link planted after the check makes the open fail instead of being followed.
OutputFile::OutputFile(const std::string& path)
    : m_path(Unplanted(path)),
      m_file(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666)) {}

void OutputFile::Write(std::span<const std::uint8_t> block) {
    while (!block.empty()) {
        const ssize_t done = ::write(m_file.Get(), block.data(), block.size());
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
    ::futimens(m_file.Get(), times);
}

}  // namespace kem::archive
