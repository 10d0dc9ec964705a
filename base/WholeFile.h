#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kem {

// Files read and written whole.

enum class Load { Ok, Missing, Failed };

// The file's bytes into content. Missing when there is no such file; Failed (errno tells why)
// for any other failure.
Load LoadFile(const std::string& path, std::string& content);

// Writes content to a new file beside target and renames it over target, so that a crash
// leaves either the old or the new file. The new file gets mode's permission bits when given,
// else 0666 less the umask. The new file reaches the disk before the rename unless sync is false
// (a file rewritten often from the user-interface thread, where a flush may take long: a crash
// of the program still leaves the old or the new file). False with errno telling why when that
// fails; target is then as it was.
bool ReplaceFile(const std::string& target, std::string_view content,
                 std::optional<mode_t> mode = std::nullopt, bool sync = true);

// The write(2) call; tests put in one that writes short, as a full disk does.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

// Appends data to the existing file at path (a missing one is an error) whole or not at all: when
// the writes stop short the file is cut back to its earlier length, so what it held before is never
// touched and no part of data stays. Throws IoError naming the file and the reason.
void AppendWhole(const std::string& path, std::string_view data, WriteCall write = ::write);

// Writes data into a new file at path (a file of that name is an error); on failure no file is
// left behind. Throws IoError naming the file and the reason.
void CreateWhole(const std::string& path, std::string_view data, WriteCall write = ::write);

}  // namespace kem
