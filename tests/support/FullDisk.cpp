#include "tests/support/FullDisk.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kem::test {

ssize_t writeUntilFull(int fd, const void* data, std::size_t size) {
    if (gRoom == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t n = ::write(fd, data, std::min(size, gRoom));
    gRoom -= static_cast<std::size_t>(std::max<ssize_t>(n, 0));
    return n;
}

}  // namespace kem::test
