#pragma once

#include <unistd.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kem::maps {

// The write(2) call; tests put in one that writes short, as a full disk does.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

// Appends data to the existing file at path (a missing one is an error) whole or not at all: when
// the writes stop short the file is cut back to its earlier length, so what it held before is never
// touched and no part of data stays. Throws IoError naming the file and the reason.
void appendWhole(const std::string& path, std::string_view data, WriteCall write = ::write);

// Writes data into a new file at path (a file of that name is an error); on failure no file is
// left behind. Throws IoError naming the file and the reason.
void createWhole(const std::string& path, std::string_view data, WriteCall write = ::write);

}  // namespace kem::maps
