#include "maps/WholeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/FileHandle.h"
#include "base/IoError.h"

namespace kem::maps {
namespace {

// Writes all of data; gives 0, or errno of the write that failed. A write that moves nothing
// without an error counts as a full disk.
int writeAll(int fd, std::string_view data, WriteCall write) {
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

FileHandle openFile(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return FileHandle(fd);
}

}  // namespace

void appendWhole(const std::string& path, std::string_view data, WriteCall write) {
    // Never created here; non-blocking so that a pipe in the file's place cannot hang the caller.
    FileHandle file = openFile(path, O_WRONLY | O_APPEND | O_NONBLOCK);
    if (file.Get() < 0) {
        throw IoError::FromErrno("Unable to open", path, file.OpenError());
    }
    struct stat before {};
    if (::fstat(file.Get(), &before) < 0) {
        throw IoError::FromErrno("Unable to open", path);
    }
    if (const int error = writeAll(file.Get(), data, write)) {
        (void)::ftruncate(file.Get(), before.st_size);
        throw IoError::FromErrno("Unable to write to", path, error);
    }
    if (const int error = file.Close()) {
        throw IoError::FromErrno("Unable to write to", path, error);
    }
}

void createWhole(const std::string& path, std::string_view data, WriteCall write) {
    FileHandle file = openFile(path, O_WRONLY | O_CREAT | O_EXCL);
    if (file.Get() < 0) {
        throw IoError::FromErrno("Unable to write to", path, file.OpenError());
    }
    int error = writeAll(file.Get(), data, write);
    if (const int closeError = file.Close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        ::unlink(path.c_str());
        throw IoError::FromErrno("Unable to write to", path, error);
    }
}

}  // namespace kem::maps
