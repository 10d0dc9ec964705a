#pragma once

#include <string>
#include <string_view>

namespace kem::archive {

// Parts of a path, split at the last "/" (the only separator; there are no drive letters).

// The text before the last "/", without it; empty when there is none.
std::string DirPart(std::string_view path);

// The text after the last "/"; the whole path when there is none.
std::string NamePart(std::string_view path);

// The name part up to, not including, its first ".".
std::string StemPart(std::string_view path);

// At most the first 3 characters after the last "." of the path, provided no "/" follows that
// "."; otherwise empty.
std::string ExtPart(std::string_view path);

// The path made absolute against the current directory, with "." and ".." resolved by text.
// No trailing "/" except for the root; empty stays empty.
std::string ExpandPath(std::string_view path);

}  // namespace kem::archive
