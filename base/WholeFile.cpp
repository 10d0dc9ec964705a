#include "base/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/FileHandle.h"

namespace kem {
namespace {

constexpr int kTemporaryAttempts = 100;  // names left behind by crashed runs are skipped

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t done = ::write(fd, data.data(), data.size());
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
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

bool ReplaceFile(const std::string& target, std::string_view content, std::optional<mode_t> mode) {
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
        bool ok = WriteAll(fd, content) && (!mode || ::fchmod(fd, *mode) == 0) && ::fsync(fd) == 0;
        int reason = ok ? 0 : errno;
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

}  // namespace kem
