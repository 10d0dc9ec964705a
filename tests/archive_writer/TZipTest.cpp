#include "archive/TZip.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "archive/Crc32.h"
#include "archive/ZipWriter.h"
#include "tests/support/ArchiveFiles.h"

namespace kem::archive {
namespace {

using test::Folder;
using test::ParseArchive;
using test::ReadFile;
using test::TempDir;
using test::ToBytes;
using test::WriteFile;

std::uint32_t Crc(std::string_view text) {
    return ~Crc32UpdateBlock(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                             kCrc32Start);
}

class TZipTest : public ::testing::Test {
protected:
    TZipTest() {
        zip.SetOverwrite(true);
        zip.OnError = [this](ZipComponent&, const std::string& text) { reports.push_back(text); };
        zip.SetArcName(Folder(dir) + "out.z");
    }

    // Packs the named files (written with the given contents) into out.z.
    bool Pack(const std::vector<std::pair<std::string, std::string>>& files) {
        zip.Files().clear();
        for (const auto& [name, content] : files) {
            WriteFile(Folder(dir) + name, content);
            zip.Files().push_back(Folder(dir) + name);
        }
        return zip.Compress();
    }

    bool ArchiveExists() const { return std::filesystem::exists(zip.ArcName()); }

    TempDir dir;
    TZip zip;
    std::vector<std::string> reports;
};

TEST_F(TZipTest, ShrinksOnlyWhatGetsSmaller) {
    struct Case {
        const char* name;
        std::string content;
        std::uint16_t method;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"empty file", "", 0, {}},
        {"one byte shrinks to two", "A", 0, ToBytes("A")},
        {"shrunk form exactly as long", "AAAA", 0, ToBytes("AAAA")},
        {"one byte shorter", "AAAAA", 1, {0x41, 0x02, 0x06, 0x04}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Pack({{"f.bin", c.content}}));
        const auto archive = ParseArchive(zip.ArcName());
        ASSERT_EQ(archive.entries.size(), 1u);
        const auto& e = archive.entries[0];
        EXPECT_EQ(e.local.method, c.method);
        EXPECT_EQ(e.local.uncompressedSize, c.content.size());
        EXPECT_EQ(e.local.compressedSize, c.data.size());
        EXPECT_EQ(e.local.crc32, Crc(c.content));
        EXPECT_EQ(e.data, c.data);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(TZipTest, EntriesComeInByteOrderOfNamesWithTheirHeaders) {
    // 2024-05-17 13:45:31 local time is stored as 13:45:30.
    std::tm when{};
    ASSERT_TRUE(::strptime("2024-05-17 13:45:31", "%Y-%m-%d %H:%M:%S", &when));
    when.tm_isdst = -1;
    const std::time_t mtime = std::mktime(&when);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"map.bmp", std::string(5000, 'x') + "tail"},
        {"map", "short text, short text, short text"},
        {"Map.bmp", std::string(300, '\0')},
    };
    for (const auto& [name, content] : files) {
        WriteFile(Folder(dir) + name, content);
        const timespec times[2] = {{mtime, 0}, {mtime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (Folder(dir) + name).c_str(), times, 0), 0);
        zip.Files().push_back(Folder(dir) + name);
    }
    ASSERT_TRUE(zip.Compress());
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 3u);
    EXPECT_EQ(archive.end.entriesOnDisk, 3);
    const char* order[] = {"Map.bmp", "map", "map.bmp"};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& e = archive.entries[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.name, order[i]);
        EXPECT_EQ(e.central.localHeaderOffset, e.localOffset);
        EXPECT_EQ(e.central.entry, e.local);
        EXPECT_EQ(e.local.flags, 0);
        EXPECT_EQ(e.local.modTime, 13 * 2048 + 45 * 32 + 15);
        EXPECT_EQ(e.local.modDate, 44 * 512 + 5 * 32 + 17);
        EXPECT_EQ(e.local.method, 1);
    }
}

TEST_F(TZipTest, RefusesToReplaceAnArchiveWithoutOverwrite) {
    WriteFile(zip.ArcName(), "old archive");
    zip.SetOverwrite(false);
    EXPECT_TRUE(Pack({{"a.bmp", "data"}}));
    EXPECT_EQ(reports,
              std::vector<std::string>{"No overwite rights for file " + zip.ArcName() + "!"});
    EXPECT_EQ(ReadFile(zip.ArcName()), ToBytes("old archive"));
}

TEST_F(TZipTest, FileListRules) {
    WriteFile(Folder(dir) + "a.bmp", "data");

    EXPECT_TRUE(zip.Compress()) << "empty list";
    EXPECT_EQ(reports, std::vector<std::string>{"No files for compress !"});
    EXPECT_FALSE(ArchiveExists());

    reports.clear();
    zip.Files() = {Folder(dir) + "missing.bmp", Folder(dir) + "*.bmp", Folder(dir) + "a.?mp",
                   Folder(dir)};
    EXPECT_FALSE(zip.Compress()) << "nothing existing, wildcards not expanded, folder not a file";
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(ArchiveExists());

    // The archive itself is never stored, even when listed.
    WriteFile(zip.ArcName(), "old archive");
    zip.Files() = {zip.ArcName()};
    EXPECT_TRUE(zip.Compress());
    EXPECT_EQ(reports, std::vector<std::string>{"Nejsou žádné soubory k smrsknutí !"});
    EXPECT_EQ(ReadFile(zip.ArcName()), ToBytes("old archive"));

    reports.clear();
    zip.Files() = {zip.ArcName(), Folder(dir) + "a.bmp"};
    EXPECT_TRUE(zip.Compress());
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].name, "a.bmp");
    EXPECT_TRUE(reports.empty());
}

TEST_F(TZipTest, SameNameFromTwoFoldersIsStoredOnceWithItsOwnSize) {
    std::filesystem::create_directory(Folder(dir) + "one");
    std::filesystem::create_directory(Folder(dir) + "two");
    WriteFile(Folder(dir) + "one/x.txt", "first");
    WriteFile(Folder(dir) + "two/x.txt", "second and longer");
    zip.Files() = {Folder(dir) + "one/x.txt", Folder(dir) + "two/x.txt"};
    ASSERT_TRUE(zip.Compress());
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].data, ToBytes("first"));
    EXPECT_EQ(archive.entries[0].local.uncompressedSize, 5u);
}

TEST_F(TZipTest, ProgressRoundsHalvesToEvenAndSkipsEmptyFiles) {
    std::vector<int> seen;
    zip.OnProgress = [&seen](ZipComponent& sender, std::int16_t percent) {
        EXPECT_EQ(sender.ArcName().substr(sender.ArcName().size() - 5), "out.z");
        seen.push_back(percent);
    };
    ASSERT_TRUE(Pack({{"eight", "12345678"}, {"empty", ""}}));
    EXPECT_EQ(seen, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST_F(TZipTest, InputOutputFailuresEndTheCallWithFalse) {
    zip.SetArcName(Folder(dir) + "no/such/folder/out.z");
    EXPECT_FALSE(Pack({{"a.bmp", "data"}}));
    EXPECT_EQ(reports, std::vector<std::string>{"Chyba při otevítání souboru"});

    if (std::filesystem::exists("/dev/full")) {  // opens, then every write fails
        reports.clear();
        zip.SetArcName("/dev/full");
        EXPECT_FALSE(zip.Compress());
        EXPECT_TRUE(reports.empty());
    }
}

TEST_F(TZipTest, ASourceThatCannotBeOpenedIsLeftOut) {
    WriteFile(Folder(dir) + "b.txt", "present");
    ZipWriter writer(zip);
    writer.Write(zip.ArcName(),
                 {FileNode{Folder(dir), "a.txt", 10, {}}, FileNode{Folder(dir), "b.txt", 7, {}}});
    EXPECT_EQ(reports, std::vector<std::string>{"Nejde otevřít a.txt.  Překračuji ..."});
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].data, ToBytes("present"));

    // With no source left the archive is still complete: an empty directory.
    writer.Write(zip.ArcName(), {FileNode{Folder(dir), "a.txt", 10, {}}});
    EXPECT_EQ(ParseArchive(zip.ArcName()).fileLength, 22u);
}

}  // namespace
}  // namespace kem::archive
