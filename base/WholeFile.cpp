#include "base/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/FileHandle.h"
#include "base/IoError.h"

namespace kem {
namespace {

constexpr int kTemporaryAttempts = 100;  // names left behind by crashed runs are skipped

// Writes all of data; gives 0, or errno of the write that failed. A write that moves nothing
// without an error counts as a full disk.
int WriteAll(int fd, std::string_view data, WriteCall write = ::write) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

FileHandle OpenFile(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return FileHandle(fd);
}

}  // namespace

Load LoadFile(const std::string& path, std::string& content) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        return file.OpenError() == ENOENT ? Load::Missing : Load::Failed;
    }
    content.clear();
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(file.Get(), buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno != EINTR) {
            return Load::Failed;
        }
        content.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    return Load::Ok;
}

bool ReplaceFile(const std::string& target, std::string_view content, std::optional<mode_t> mode,
                 bool sync) {
    const std::filesystem::path where = target;
    static unsigned counter = 0;
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        // Appended piece by piece: GCC 12 misreads "." + string as an overlapping copy.
        std::string name(1, '.');
        name += where.filename().string();
        name += '.';
        name += std::to_string(::getpid());
        name += '-';
        name += std::to_string(++counter);
        const std::filesystem::path temporary = where.parent_path() / name;
        FileHandle file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.Get() < 0) {
            if (file.OpenError() == EEXIST) {
                continue;
            }
            errno = file.OpenError();
            return false;
        }
        const int fd = file.Get();
        int reason = WriteAll(fd, content);
        if (reason == 0 && ((mode && ::fchmod(fd, *mode) != 0) || (sync && ::fsync(fd) != 0))) {
            reason = errno;
        }
        bool ok = reason == 0;
        if (const int closeError = file.Close(); ok && closeError != 0) {
            ok = false;
            reason = closeError;
        }
        if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
            ok = false;
            reason = errno;
        }
        if (!ok) {
            ::unlink(temporary.c_str());
            errno = reason;
        }
        return ok;
    }
    errno = EEXIST;
    return false;
}

void AppendWhole(const std::string& path, std::string_view data, WriteCall write) {
    // Never created here; non-blocking so that a pipe in the file's place cannot hang the caller.
    FileHandle file = OpenFile(path, O_WRONLY | O_APPEND | O_NONBLOCK);
    if (file.Get() < 0) {
        throw IoError::FromErrno("Unable to open", path, file.OpenError());
    }
    struct stat before {};
    if (::fstat(file.Get(), &before) < 0) {
        throw IoError::FromErrno("Unable to open", path);
    }
    if (const int error = WriteAll(file.Get(), data, write)) {
        (void)::ftruncate(file.Get(), before.st_size);
        throw IoError::FromErrno("Unable to write to", path, error);
    }
    if (const int error = file.Close()) {
        throw IoError::FromErrno("Unable to write to", path, error);
    }
}

void CreateWhole(const std::string& path, std::string_view data, WriteCall write) {
    FileHandle file = OpenFile(path, O_WRONLY | O_CREAT | O_EXCL);
    if (file.Get() < 0) {
        throw IoError::FromErrno("Unable to write to", path, file.OpenError());
    }
    int error = WriteAll(file.Get(), data, write);
    if (const int closeError = file.Close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        ::unlink(path.c_str());
        throw IoError::FromErrno("Unable to write to", path, error);
    }
}

}  // namespace kem
