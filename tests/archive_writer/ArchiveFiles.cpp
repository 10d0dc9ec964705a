#include "ArchiveFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kem::archive::test {
namespace {

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return U16(b, at) | std::uint32_t{U16(b, at + 2)} << 16;
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kemzip-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp failed";
    }
    m_path = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

void WriteFile(const std::string& path, const std::string& text) {
    WriteFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ParsedArchive ParseArchive(const std::string& path) {
    const auto b = ReadFile(path);
    ParsedArchive a;
    a.fileLength = b.size();
    if (b.size() < 22 || U32(b, b.size() - 22) != 0x06054B50u) {
        ADD_FAILURE() << path << ": no end record at the very end";
        return a;
    }
    const std::size_t end = b.size() - 22;
    EXPECT_EQ(U16(b, end + 4), 0) << "disk number";
    EXPECT_EQ(U16(b, end + 6), 0) << "directory disk";
    EXPECT_EQ(U16(b, end + 8), U16(b, end + 10)) << "entries on disk and in total";
    EXPECT_EQ(U16(b, end + 20), 0) << "comment length";
    a.entryCount = U16(b, end + 10);
    a.directorySize = U32(b, end + 12);
    a.directoryOffset = U32(b, end + 16);
    EXPECT_EQ(a.directoryOffset, b.size() - a.directorySize - 22);

    std::size_t local = 0;
    std::size_t central = a.directoryOffset;
    for (unsigned i = 0; i < a.entryCount; ++i) {
        ParsedEntry e;
        if (U32(b, central) != 0x02014B50u || U32(b, local) != 0x04034B50u) {
            ADD_FAILURE() << "entry " << i << ": bad signature";
            return a;
        }
        e.localOffset = static_cast<std::uint32_t>(local);
        e.versionNeeded = U16(b, local + 4);
        e.flags = U16(b, local + 6);
        e.method = U16(b, local + 8);
        e.time = U16(b, local + 10);
        e.date = U16(b, local + 12);
        e.crc = U32(b, local + 14);
        e.compressedSize = U32(b, local + 18);
        e.uncompressedSize = U32(b, local + 22);
        const std::uint16_t nameLength = U16(b, local + 26);
        if (local + 30 + nameLength + e.compressedSize > b.size() ||
            central + 46 + nameLength > b.size()) {
            ADD_FAILURE() << "entry " << i << " runs past the end of the file";
            return a;
        }
        EXPECT_EQ(U16(b, local + 28), 0) << "extra field length";
        e.name.assign(b.begin() + static_cast<std::ptrdiff_t>(local + 30),
                      b.begin() + static_cast<std::ptrdiff_t>(local + 30 + nameLength));
        const std::size_t data = local + 30 + nameLength;
        e.data.assign(b.begin() + static_cast<std::ptrdiff_t>(data),
                      b.begin() + static_cast<std::ptrdiff_t>(data + e.compressedSize));

        e.versionMadeBy = U16(b, central + 4);
        e.centralMatchesLocal = std::equal(b.begin() + static_cast<std::ptrdiff_t>(local + 4),
                                           b.begin() + static_cast<std::ptrdiff_t>(local + 30),
                                           b.begin() + static_cast<std::ptrdiff_t>(central + 6));
        EXPECT_EQ(U16(b, central + 32), 0) << "comment length";
        EXPECT_EQ(U16(b, central + 34), 0) << "disk number start";
        EXPECT_EQ(U16(b, central + 36), 0) << "internal attributes";
        e.externalAttributes = U32(b, central + 38);
        e.centralOffsetField = U32(b, central + 42);
        EXPECT_EQ(std::string(b.begin() + static_cast<std::ptrdiff_t>(central + 46),
                              b.begin() + static_cast<std::ptrdiff_t>(central + 46 + nameLength)),
                  e.name);
        central += 46 + nameLength;
        local = data + e.compressedSize;
        a.entries.push_back(std::move(e));
    }
    EXPECT_EQ(local, a.directoryOffset) << "entries end where the directory starts";
    EXPECT_EQ(central, end) << "directory ends where the end record starts";
    return a;
}

std::uint32_t ReferenceCrc(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
        }
    }
    return ~crc;
}

CommandResult Run(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char chunk[4096];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
        result.output.append(chunk, n);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool ToolAvailable(const std::string& tool) {
    return Run("command -v " + tool + " >/dev/null 2>&1").status == 0;
}

std::string Quote(const std::string& path) {
    std::string quoted = "'";
    for (char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace kem::archive::test
