#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ZipFormat.h"
#include "tests/archive_reader/ReaderTestSupport.h"

namespace kem::archive::test {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The temporary folder as a path ending with "/".
inline std::string Folder(const TempDir& dir) {
    return dir.Path().string() + "/";
}

inline void WriteFile(const std::string& path, const std::string& text) {
    testing::WriteFile(path, testing::ToBytes(text));
}

// One entry as its local header and its central directory record describe it.
struct ParsedEntry {
    std::uint32_t localOffset = 0;
    LocalHeader local;
    CentralHeader central;
    std::string name;
    std::vector<std::uint8_t> data;
};

struct ParsedArchive {
    std::vector<ParsedEntry> entries;
    EndRecord end;
    std::uint64_t fileLength = 0;
};

// Fails the current test (and gives what it could read) when the entries, the directory and the
// end record do not follow each other without gaps, or the directory names differ.
ParsedArchive ParseArchive(const std::string& path);

// Runs a shell command; gives its exit status and standard output.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult Run(const std::string& command);
bool ToolAvailable(const std::string& tool);
std::string Quote(const std::string& path);

}  // namespace kem::archive::test
