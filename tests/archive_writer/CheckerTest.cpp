// Archives written here are opened by independent programs (Info-ZIP unzip, 7-Zip) and by our
// own extractor: each must accept them and give back the very bytes that were packed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <memory>

#include "archive/TUnZip.h"
#include "archive/TZip.h"
#include "tests/support/ArchiveFiles.h"
#include "tests/support/SampleData.h"

namespace kem::archive {
namespace {

using test::Folder;
using test::Quote;
using test::TempDir;

struct Packed {
    std::string archive;
    std::map<std::string, std::vector<std::uint8_t>> files;  // entry name -> content
};

std::vector<std::uint8_t> Text() {
    std::string text;
    for (int line = 0; line < 600; ++line) {
        text += 'K';
        text += std::to_string(line % 37) + "\tKO" + std::to_string(line % 90) +
                "AB\t54.6872\t25.2797\tmatavimas " + std::to_string(line) + "\r\n";
    }
    return {text.begin(), text.end()};
}

class CheckerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<TempDir>();
        s_packed = {
            Pack("text.z", {{"Log.txt", Text()}}),
            Pack("K26.z", {{"K26.bmp", sample::MapSheetBmp(26)}}),
            Pack("random.z", {{"random.bin", test::RandomBytes(100000, 256, 5)}}),
            Pack("mixed.z", {{"mixed.bin", sample::MixedData(5 << 20, 9)}}),
            Pack("several.z", {{"b.bmp", sample::MapSheetBmp(3)},
                               {"a.txt", Text()},
                               {"empty", {}},
                               {"one", {'x'}}}),
        };
    }
    static void TearDownTestSuite() {
        s_packed.clear();
        s_dir.reset();
    }

    static Packed Pack(const std::string& archive,
                       const std::map<std::string, std::vector<std::uint8_t>>& files) {
        TZip zip;
        zip.SetOverwrite(true);
        zip.OnError = [](ZipComponent&, const std::string& text) { ADD_FAILURE() << text; };
        zip.SetArcName(Folder(*s_dir) + archive);
        for (const auto& [name, content] : files) {
            test::WriteFile(Folder(*s_dir) + name, content);
            zip.Files().push_back(Folder(*s_dir) + name);
        }
        EXPECT_TRUE(zip.Compress());
        return {zip.ArcName(), files};
    }

    // Runs `check` on every archive and `extract` on every entry, comparing with the content.
    static void ExpectToolAccepts(const std::string& check, const std::string& extract) {
        for (const Packed& p : s_packed) {
            SCOPED_TRACE(p.archive);
            const auto checked = test::Run(check + " " + Quote(p.archive) + " 2>&1");
            EXPECT_EQ(checked.status, 0) << checked.output;
            for (const auto& [name, content] : p.files) {
                const auto out = test::Run(extract + " " + Quote(p.archive) + " " + Quote(name));
                EXPECT_EQ(out.status, 0) << name;
                EXPECT_TRUE(out.output == std::string(content.begin(), content.end()))
                    << name << " comes back different";
            }
        }
    }

    static inline std::unique_ptr<TempDir> s_dir;
    static inline std::vector<Packed> s_packed;
};

TEST_F(CheckerTest, MixedDataClearsTheDictionaryManyTimes) {
    const auto archive = test::ParseArchive(s_packed[3].archive);
    ASSERT_EQ(archive.entries.size(), 1u);
    ASSERT_EQ(archive.entries[0].local.method, 1);
    EXPECT_GE(test::ReadShrinkCodes(archive.entries[0].data).clearedAfter.size(), 20u);
}

std::time_t ModificationTime(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mtime;
}

TEST_F(CheckerTest, OurExtractorGivesBackEveryFileWithItsTime) {
    for (const Packed& p : s_packed) {
        SCOPED_TRACE(p.archive);
        TUnZip unzip;
        unzip.OnError = [](ZipComponent&, const std::string& text) { ADD_FAILURE() << text; };
        unzip.SetArcName(p.archive);
        unzip.SetExtrPath(p.archive + ".out");
        ASSERT_TRUE(unzip.Extract());
        for (const auto& [name, content] : p.files) {
            const std::string extracted = unzip.ExtrPath() + name;
            EXPECT_TRUE(test::ReadFile(extracted) == content) << name;
            // The archive keeps local time in steps of two seconds.
            const std::time_t source = ModificationTime(Folder(*s_dir) + name);
            EXPECT_LE(source - ModificationTime(extracted), 1) << name;
            EXPECT_GE(source - ModificationTime(extracted), 0) << name;
        }
    }
}

TEST_F(CheckerTest, InfoZipUnzipAcceptsEveryArchive) {
    if (!test::ToolAvailable("unzip")) {
        GTEST_SKIP() << "Info-ZIP unzip is not installed (Debian package unzip)";
    }
    ExpectToolAccepts("unzip -tqq", "unzip -p");
}

TEST_F(CheckerTest, SevenZipAcceptsEveryArchive) {
    if (!test::ToolAvailable("7zz")) {
        GTEST_SKIP() << "7-Zip is not installed (Debian package 7zip)";
    }
    ExpectToolAccepts("7zz t", "7zz e -so");
}

}  // namespace
}  // namespace kem::archive
