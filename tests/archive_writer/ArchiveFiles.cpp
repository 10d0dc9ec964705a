#include "ArchiveFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

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

}  // namespace kem::archive::test
