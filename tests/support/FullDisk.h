#pragma once

#include <sys/types.h>

#include <cstddef>

namespace kem::test {

// A disk with room for gRoom more bytes, as a write call for the whole-file writers: writes stop
// short when it fills and then fail with ENOSPC, as on a real one.
inline std::size_t gRoom = 0;
ssize_t writeUntilFull(int fd, const void* data, std::size_t size);

}  // namespace kem::test
