#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kem::archive::test {

// A fresh directory under /tmp, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing "/".
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteFile(const std::string& path, const std::string& text);
std::vector<std::uint8_t> ReadFile(const std::string& path);

// One entry as both its local header and its central directory record describe it, read with
// nothing but offsets so that a fault in the library's records cannot hide itself.
struct ParsedEntry {
    std::uint32_t localOffset = 0;
    std::uint16_t versionNeeded = 0, flags = 0, method = 0, time = 0, date = 0;
    std::uint32_t crc = 0, compressedSize = 0, uncompressedSize = 0;
    std::string name;
    std::vector<std::uint8_t> data;
    // From the central record.
    std::uint16_t versionMadeBy = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t centralOffsetField = 0;
    bool centralMatchesLocal = false;  // its bytes 6..33 repeat the local header's 4..29
};

struct ParsedArchive {
    std::vector<ParsedEntry> entries;
    std::uint32_t directoryOffset = 0, directorySize = 0;
    std::uint16_t entryCount = 0;
    std::uint64_t fileLength = 0;
};

// Fails the current test (and gives what it could read) when the layout is not the one written.
ParsedArchive ParseArchive(const std::string& path);

// Standard CRC-32, computed bit by bit here so that it does not rest on the library's table.
std::uint32_t ReferenceCrc(const std::vector<std::uint8_t>& bytes);

// Runs a shell command; gives its exit status and standard output.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult Run(const std::string& command);
bool ToolAvailable(const std::string& tool);
std::string Quote(const std::string& path);

}  // namespace kem::archive::test
