#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/ShrinkCodes.h"
#include "archive/ZipFormat.h"
#include "tests/support/ReaderTestSupport.h"

namespace kem::archive::test {

using testing::ReadFile;
using testing::TempDir;
using testing::ToBytes;
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

// The codes of a Shrink stream read back, widths followed through the "256, 1" pairs. Positions
// count the data codes that came before the control pair.
struct ShrinkCodes {
    std::vector<int> data;
    std::vector<std::size_t> widenedAfter;
    std::vector<std::size_t> clearedAfter;
    std::vector<int> otherControls;  // the code after a 256 that was neither 1 nor 2
    unsigned finalWidth = shrink::kFirstWidth;
};

ShrinkCodes ReadShrinkCodes(std::span<const std::uint8_t> stream);

// Deterministic test data: `size` bytes drawn from the first `alphabet` byte values.
std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned alphabet, std::uint32_t seed);

}  // namespace kem::archive::test
