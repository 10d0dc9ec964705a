#include "tests/support/ArchiveFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "archive/BitReader.h"

namespace kem::archive::test {
ParsedArchive ParseArchive(const std::string& path) {
    const auto bytes = ReadFile(path);
    const std::span<const std::uint8_t> b(bytes);
    ParsedArchive a;
    a.fileLength = b.size();
    const auto end =
        b.size() >= kEndRecordLength ? EndRecord::Read(b.last<kEndRecordLength>()) : std::nullopt;
    if (!end) {
        ADD_FAILURE() << path << ": no end record at the very end";
        return a;
    }
    a.end = *end;
    EXPECT_EQ(end->directoryOffset + end->directorySize + kEndRecordLength, b.size());
    std::size_t local = 0;
    std::size_t central = end->directoryOffset;
    for (unsigned i = 0; i < end->totalEntries; ++i) {
        const auto lh = local + kLocalHeaderLength <= b.size()
                            ? LocalHeader::Read(b.subspan(local).first<kLocalHeaderLength>())
                            : std::nullopt;
        const auto ch = central + kCentralHeaderLength <= b.size()
                            ? CentralHeader::Read(b.subspan(central).first<kCentralHeaderLength>())
                            : std::nullopt;
        const std::size_t data = local + kLocalHeaderLength + (lh ? lh->nameLength : 0);
        if (!lh || !ch || data + lh->compressedSize > b.size() ||
            central + kCentralHeaderLength + lh->nameLength > b.size()) {
            ADD_FAILURE() << "entry " << i << " is damaged or runs past the end of the file";
            return a;
        }
        ParsedEntry e{static_cast<std::uint32_t>(local), *lh, *ch, {}, {}};
        e.name.assign(b.begin() + local + kLocalHeaderLength, b.begin() + data);
        e.data.assign(b.begin() + data, b.begin() + data + lh->compressedSize);
        const auto centralName = b.subspan(central + kCentralHeaderLength, lh->nameLength);
        EXPECT_EQ(std::string(centralName.begin(), centralName.end()), e.name);
        central += kCentralHeaderLength + lh->nameLength;
        local = data + lh->compressedSize;
        a.entries.push_back(std::move(e));
    }
    EXPECT_EQ(local, end->directoryOffset) << "entries end where the directory starts";
    EXPECT_EQ(central, b.size() - kEndRecordLength) << "the end record follows the directory";
    return a;
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

ShrinkCodes ReadShrinkCodes(std::span<const std::uint8_t> stream) {
    ShrinkCodes result;
    MemorySource source(stream);
    BitReader bits(source);
    // Fewer bits than one code are the zero padding of the last byte.
    for (int code; (code = bits.Read(result.finalWidth)) >= 0;) {
        if (code != shrink::kControlCode) {
            result.data.push_back(code);
            continue;
        }
        const int control = bits.Read(result.finalWidth);
        if (control == shrink::kWiden) {
            result.widenedAfter.push_back(result.data.size());
            ++result.finalWidth;
        } else if (control == shrink::kPartialClear) {
            result.clearedAfter.push_back(result.data.size());
        } else if (control >= 0) {
            result.otherControls.push_back(control);
        }
    }
    return result;
}

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned alphabet, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t state = seed;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>((state >> 16) % alphabet);
    }
    return bytes;
}

}  // namespace kem::archive::test
