#include "archive/TZip.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "ArchiveFiles.h"
#include "archive/ZipWriter.h"

namespace kem::archive {
namespace {

using test::ParseArchive;
using test::ReadFile;
using test::ReferenceCrc;
using test::TempDir;
using test::WriteFile;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

class TZipTest : public ::testing::Test {
protected:
    TZipTest() {
        zip.SetOverwrite(true);
        zip.OnError = [this](ZipComponent&, const std::string& text) { reports.push_back(text); };
        zip.SetArcName(dir.Path() + "out.z");
    }

    // Packs the named files (written with the given contents) into out.z.
    bool Pack(const std::vector<std::pair<std::string, std::string>>& files) {
        zip.Files().clear();
        for (const auto& [name, content] : files) {
            WriteFile(dir.Path() + name, content);
            zip.Files().push_back(dir.Path() + name);
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
        {"one byte shrinks to two", "A", 0, Bytes("A")},
        {"shrunk form exactly as long", "AAAA", 0, Bytes("AAAA")},
        {"one byte shorter", "AAAAA", 1, {0x41, 0x02, 0x06, 0x04}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Pack({{"f.bin", c.content}}));
        const auto archive = ParseArchive(zip.ArcName());
        ASSERT_EQ(archive.entries.size(), 1u);
        const auto& e = archive.entries[0];
        EXPECT_EQ(e.method, c.method);
        EXPECT_EQ(e.uncompressedSize, c.content.size());
        EXPECT_EQ(e.compressedSize, c.data.size());
        EXPECT_EQ(e.crc, ReferenceCrc(Bytes(c.content)));
        EXPECT_EQ(e.data, c.data);
        EXPECT_EQ(archive.fileLength, 30 + 5 + c.data.size() + 46 + 5 + 22) << "no bytes left over";
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(TZipTest, EntriesComeInByteOrderOfNamesWithTheirHeaders) {
    // 2024-05-17 13:45:31 local time is stored as 13:45:30.
    std::tm when{};
    when.tm_year = 124;
    when.tm_mon = 4;
    when.tm_mday = 17;
    when.tm_hour = 13;
    when.tm_min = 45;
    when.tm_sec = 31;
    when.tm_isdst = -1;
    const std::time_t mtime = std::mktime(&when);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"map.bmp", std::string(5000, 'x') + "tail"},
        {"map", "short text, short text, short text"},
        {"Map.bmp", std::string(300, '\0')},
    };
    for (const auto& [name, content] : files) {
        WriteFile(dir.Path() + name, content);
        const timespec times[2] = {{mtime, 0}, {mtime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (dir.Path() + name).c_str(), times, 0), 0);
        zip.Files().push_back(dir.Path() + name);
    }
    ASSERT_TRUE(zip.Compress());
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 3u);
    EXPECT_EQ(archive.entryCount, 3);
    const char* order[] = {"Map.bmp", "map", "map.bmp"};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& e = archive.entries[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.name, order[i]);
        EXPECT_EQ(e.centralOffsetField, e.localOffset);
        EXPECT_TRUE(e.centralMatchesLocal);
        EXPECT_EQ(e.versionNeeded, 10);
        EXPECT_EQ(e.versionMadeBy, 10);
        EXPECT_EQ(e.flags, 0);
        EXPECT_EQ(e.externalAttributes, 0x20u);
        EXPECT_EQ(e.time, 13 * 2048 + 45 * 32 + 15);
        EXPECT_EQ(e.date, 44 * 512 + 5 * 32 + 17);
        EXPECT_EQ(e.method, 1);
    }
    EXPECT_EQ(archive.entries[0].localOffset, 0u);
    EXPECT_EQ(archive.directorySize, 3 * 46 + 7 + 3 + 7);
}

TEST_F(TZipTest, RefusesToReplaceAnArchiveWithoutOverwrite) {
    WriteFile(zip.ArcName(), "old archive");
    zip.SetOverwrite(false);
    EXPECT_TRUE(Pack({{"a.bmp", "data"}}));
    EXPECT_EQ(reports,
              std::vector<std::string>{"No overwite rights for file " + zip.ArcName() + "!"});
    EXPECT_EQ(ReadFile(zip.ArcName()), Bytes("old archive"));
}

TEST_F(TZipTest, FileListRules) {
    WriteFile(dir.Path() + "a.bmp", "data");

    EXPECT_TRUE(zip.Compress()) << "empty list";
    EXPECT_EQ(reports, std::vector<std::string>{"No files for compress !"});
    EXPECT_FALSE(ArchiveExists());

    reports.clear();
    zip.Files() = {dir.Path() + "missing.bmp", dir.Path() + "*.bmp", dir.Path() + "a.?mp",
                   dir.Path()};
    EXPECT_FALSE(zip.Compress()) << "nothing existing, wildcards not expanded, folder not a file";
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(ArchiveExists());

    // The archive itself is never stored, even when listed.
    WriteFile(zip.ArcName(), "old archive");
    zip.Files() = {zip.ArcName()};
    EXPECT_TRUE(zip.Compress());
    EXPECT_EQ(reports, std::vector<std::string>{"Nejsou žádné soubory k smrsknutí !"});
    EXPECT_EQ(ReadFile(zip.ArcName()), Bytes("old archive"));

    reports.clear();
    zip.Files() = {zip.ArcName(), dir.Path() + "a.bmp"};
    EXPECT_TRUE(zip.Compress());
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].name, "a.bmp");
    EXPECT_TRUE(reports.empty());
}

TEST_F(TZipTest, SameNameFromTwoFoldersIsStoredOnceWithItsOwnSize) {
    std::filesystem::create_directory(dir.Path() + "one");
    std::filesystem::create_directory(dir.Path() + "two");
    WriteFile(dir.Path() + "one/x.txt", "first");
    WriteFile(dir.Path() + "two/x.txt", "second and longer");
    zip.Files() = {dir.Path() + "one/x.txt", dir.Path() + "two/x.txt"};
    ASSERT_TRUE(zip.Compress());
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].data, Bytes("first"));
    EXPECT_EQ(archive.entries[0].uncompressedSize, 5u);
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

TEST_F(TZipTest, AnArchiveThatCannotBeCreatedEndsTheCall) {
    zip.SetArcName(dir.Path() + "no/such/folder/out.z");
    EXPECT_FALSE(Pack({{"a.bmp", "data"}}));
    EXPECT_EQ(reports, std::vector<std::string>{"Chyba při otevítání souboru"});
}

TEST_F(TZipTest, ASourceThatCannotBeOpenedIsLeftOut) {
    WriteFile(dir.Path() + "b.txt", "present");
    ZipWriter writer(zip);
    writer.Write(zip.ArcName(),
                 {FileNode{dir.Path(), "a.txt", 10, {}}, FileNode{dir.Path(), "b.txt", 7, {}}});
    EXPECT_EQ(reports, std::vector<std::string>{"Nejde otevřít a.txt.  Překračuji ..."});
    const auto archive = ParseArchive(zip.ArcName());
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].data, Bytes("present"));

    // With no source left the archive is still complete: an empty directory.
    writer.Write(zip.ArcName(), {FileNode{dir.Path(), "a.txt", 10, {}}});
    EXPECT_EQ(ParseArchive(zip.ArcName()).fileLength, 22u);
}

}  // namespace
}  // namespace kem::archive
