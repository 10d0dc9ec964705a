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

// A name beside target for what is made there before it takes target's place:
// ".<target's name>.<process id>-<count>", hidden and unique to this run.
std::string NameBeside(const std::string& target);
// Removes what runs that died left beside their targets in folder (names made by NameBeside
// whose process is gone); a missing folder is no error.
void RemoveLeftovers(const std::string& folder);

// Writes content to a new file beside target and renames it over target, so that a crash
// leaves either the old or the new file. The new file gets mode's permission bits when given,
// else 0666 less the umask. The new file reaches the disk before the rename unless sync is false
// (a file rewritten often from the user-interface thread, where a flush may take long: a crash
// of the program still leaves the old or the new file). False with errno telling why when that
// fails; target is then as it was.
bool ReplaceFile(const std::string& target, std::string_view content,
                 std::optional<mode_t> mode = std::nullopt, bool sync = true);

// The write(2) and close(2) calls; tests put in ones that fail as a full disk or a network file
// system does.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
using CloseCall = int (*)(int fd);
struct FileCalls {
    WriteCall write = ::write;
    CloseCall close = ::close;
};

// Whether an append waits until the data is on the disk (fdatasync). A log line, once per fix,
// is worth it; a recording's many small chunks a second are not (the system writes them soon).
enum class Sync { Now, Later };

// Appends data to the existing file at path (a missing one is an error) whole or not at all:
// when a write, the sync or the close fails the file is cut back to its earlier length, so what
// it held before is never touched and no part of data stays. Throws IoError naming the file and
// the reason.
void AppendWhole(const std::string& path, std::string_view data, FileCalls calls = {},
                 Sync sync = Sync::Now);

// Makes a new file at path (a file of that name is an error) from data: written and synced
// beside it, then linked into place, so a crash or a failure leaves no file of that name or
// part of one. Throws IoError naming the file and the reason.
void CreateWhole(const std::string& path, std::string_view data, FileCalls calls = {});

}  // namespace kem
