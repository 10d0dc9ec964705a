#pragma once

#include <sys/types.h>

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
// else 0666 less the umask. False with errno telling why when that fails; target is then as it
// was.
bool ReplaceFile(const std::string& target, std::string_view content,
                 std::optional<mode_t> mode = std::nullopt);

}  // namespace kem
