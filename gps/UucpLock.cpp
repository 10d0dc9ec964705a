#include "gps/UucpLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/FileHandle.h"

namespace kem::gps {

namespace {

// The owner's process id, or 0 when the file holds none (or cannot be read). Old HDB locks hold it
// as a binary int of four bytes.
pid_t lockOwner(const std::string& path) {
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    char text[32] = {};
    const ssize_t size = file.Get() < 0 ? -1 : ::read(file.Get(), text, sizeof text - 1);
    if (size == sizeof(int)) {
        int binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary > 0 ? binary : 0;
    }
    if (size <= 0) {
        return 0;
    }
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    return end != text && pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool alive(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

UucpLock::UucpLock(std::string directory) : m_directory(std::move(directory)) {}

std::string UucpLock::DefaultDirectory() {
    struct stat st {};
    return ::stat("/run/lock", &st) == 0 && S_ISDIR(st.st_mode) ? "/run/lock" : "/var/lock";
}

std::string UucpLock::PathFor(const std::string& device) const {
    char resolved[PATH_MAX];
    std::string name = ::realpath(device.c_str(), resolved) ? resolved : device;
    name.erase(0, name.rfind('/') + 1);
    return m_directory + "/LCK.." + name;
}

UucpLock::Result UucpLock::Take(const std::string& device) {
    Release();
    const std::string path = PathFor(device);
    // Twice: a stale lock removed the first time leaves the name free for the second.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FileHandle file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (file.Get() >= 0) {
            char text[16];
            const int size =
                std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
            if (::write(file.Get(), text, static_cast<std::size_t>(size)) != size) {
                ::unlink(path.c_str());
                return Result::Unavailable;
            }
            m_held = path;
            return Result::Taken;
        }
        if (errno != EEXIST) {
            return Result::Unavailable;
        }
        const pid_t owner = lockOwner(path);
        if (owner > 0 && alive(owner)) {
            return Result::Busy;
        }
        // Left behind by a process that is gone, or holding no process at all.
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return Result::Busy;
        }
    }
    return Result::Busy;
}

void UucpLock::Release() {
    if (!m_held.empty()) {
        ::unlink(m_held.c_str());
        m_held.clear();
    }
}

}  // namespace kem::gps
