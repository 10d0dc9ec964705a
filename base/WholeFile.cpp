#include "base/WholeFile.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
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

// The process id in a name made by NameBeside (".name.PID-N"), or 0.
pid_t WriterOf(const std::string& leaf) {
    const auto dash = leaf.rfind('-');
    const auto dot = leaf.rfind('.', dash);
    if (leaf.empty() || leaf[0] != '.' || dash == std::string::npos || dot == std::string::npos ||
        dot == 0) {
        return 0;
    }
    const auto number = [](const std::string& digits) {
        return !digits.empty() && digits.size() < 10 &&
               std::all_of(digits.begin(), digits.end(),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::string digits = leaf.substr(dot + 1, dash - dot - 1);
    if (!number(digits) || !number(leaf.substr(dash + 1))) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(digits));
}

// A new file beside target, named by NameBeside, opened for writing. Names left behind by
// crashed runs are skipped.
FileHandle OpenBeside(const std::filesystem::path& target, std::string& name) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        name = NameBeside(target.string());
        FileHandle file(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.Get() >= 0 || file.OpenError() != EEXIST) {
            return file;
        }
    }
    errno = EEXIST;
    return FileHandle(-1);
}

// Writes content into the temporary file, makes it durable (unless told not to) and closes it;
// 0 or errno.
int FillBeside(FileHandle& file, std::string_view content, WriteCall write,
               std::optional<mode_t> mode, bool sync) {
    int reason = WriteAll(file.Get(), content, write);
    if (reason == 0 &&
        ((mode && ::fchmod(file.Get(), *mode) != 0) || (sync && ::fsync(file.Get()) != 0))) {
        reason = errno;
    }
    if (const int closeError = file.Close(); reason == 0) {
        reason = closeError;
    }
    return reason;
}

// Puts the finished temporary file at target; when it must not replace a file there, the
// link fails with EEXIST instead.
int PutInPlace(const std::string& temporary, const std::string& target, bool replace) {
    if (replace) {
        return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
    }
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the no-replace rename: a hard link fails on an existing name too.
    if (::link(temporary.c_str(), target.c_str()) != 0) {
        return errno;
    }
    ::unlink(temporary.c_str());
    return 0;
}

// The file made whole beside target and then put in its place, so that a crash or a power cut
// leaves the old state or the new file, never part of it.
int WriteBeside(const std::string& target, std::string_view content, WriteCall write,
                std::optional<mode_t> mode, bool replace, bool sync = true) {
    std::string temporary;
    FileHandle file = OpenBeside(target, temporary);
    if (file.Get() < 0) {
        return file.OpenError() != 0 ? file.OpenError() : errno;
    }
    int reason = FillBeside(file, content, write, mode, sync);
    if (reason == 0) {
        reason = PutInPlace(temporary, target, replace);
    }
    if (reason != 0) {
        ::unlink(temporary.c_str());
    }
    return reason;
}

}  // namespace

std::string NameBeside(const std::string& target) {
    static unsigned counter = 0;
    const std::filesystem::path where = target;
    // Appended piece by piece: GCC 12 misreads "." + string as an overlapping copy.
    std::string leaf(1, '.');
    leaf += where.filename().string();
    leaf += '.';
    leaf += std::to_string(::getpid());
    leaf += '-';
    leaf += std::to_string(++counter);
    return (where.parent_path() / leaf).string();
}

void RemoveLeftovers(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const pid_t writer = WriterOf(entry.path().filename().string());
        if (writer > 0 && writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH) {
            std::filesystem::remove_all(entry.path(), error);
        }
    }
}

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
    const int reason = WriteBeside(target, content, ::write, mode, true, sync);
    errno = reason;
    return reason == 0;
}

void AppendWhole(const std::string& path, std::string_view data, FileCalls calls, Sync sync) {
    // Never created here; non-blocking so that a pipe in the file's place cannot hang the caller.
    FileHandle file = OpenFile(path, O_WRONLY | O_APPEND | O_NONBLOCK);
    if (file.Get() < 0) {
        throw IoError::FromErrno("Unable to open", path, file.OpenError());
    }
    struct stat before {};
    if (::fstat(file.Get(), &before) < 0) {
        throw IoError::FromErrno("Unable to open", path);
    }
    // A second descriptor outlives the close: a close can report what a network file system
    // or a full disk refused only then, and the line must still be cut back.
    FileHandle keeper(::dup(file.Get()));
    int error = WriteAll(file.Get(), data, calls.write);
    if (error == 0 && sync == Sync::Now && ::fdatasync(file.Get()) != 0 && errno != EINVAL) {
        error = errno;  // EINVAL: a pipe or a device in the log's place, nothing to sync
    }
    if (calls.close(file.Release()) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        (void)::ftruncate(keeper.Get(), before.st_size);
        throw IoError::FromErrno("Unable to write to", path, error);
    }
}

void CreateWhole(const std::string& path, std::string_view data, FileCalls calls) {
    if (const int error = WriteBeside(path, data, calls.write, std::nullopt, false)) {
        throw IoError::FromErrno("Unable to write to", path, error);
    }
}

}  // namespace kem
