#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/TUnZip.h"

namespace kem::archive::testing {

using Bytes = std::vector<std::uint8_t>;

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ToBytes(const std::string& text);

// One entry of a hand-made archive.
struct Entry {
    std::string name;
    Bytes data;  // the stored (compressed) bytes
    std::uint16_t method = 0;
    std::uint32_t crc32 = 0;  // CRC-32 of the original bytes
    std::uint32_t size = 0;   // original size
    std::uint16_t flags = 0;
    std::uint16_t time = 0x6000;  // 12:00:00
    std::uint16_t date = 0x5821;  // 2024-01-01

    // A stored entry of `content` with its true CRC-32.
    static Entry Stored(const std::string& name, const Bytes& content);
};

// Local headers with their data, then the central directory and the end record.
Bytes MakeArchive(const std::vector<Entry>& entries, bool withDirectory = true);

// The entries of a well-formed archive, walked by their local headers.
std::vector<Entry> ReadEntries(const Bytes& zip);

// A TUnZip that extracts `archive` into `dir` and collects its reports instead of showing them.
struct Extraction {
    TUnZip unzip;
    std::vector<std::string> reports;

    Extraction(const std::string& archive, const std::string& dir);
    bool Run() { return unzip.Extract(); }
};

}  // namespace kem::archive::testing
