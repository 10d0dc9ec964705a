// Archives made by independent encoders (see tests/data/zip-vectors/README.md) extract byte for
// byte, with their stored modification times.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "archive/DosTime.h"
#include "archive/Methods.h"
#include "tests/support/ReaderTestSupport.h"

namespace kem::archive::testing {
namespace {

const std::string kVectors = std::string(KEM_TEST_DATA) + "/zip-vectors/";

// The original of a member, by the naming rules of the README; empty when it is not kept.
std::string OriginalOf(const std::string& archive, const std::string& member) {
    const std::string stem = archive.substr(0, archive.size() - 4);
    if (archive.starts_with("hw-allmethods") || archive.starts_with("neg-")) {
        return kVectors + "plain/" + member.substr(0, member.find('.')) + ".txt";
    }
    if (archive.starts_with("hw-")) {
        return kVectors + "plain/" + member;
    }
    if (archive.starts_with("mz-")) {
        return kVectors + "plain/mz-dch1/dch1.txt";
    }
    const std::string path = kVectors + "plain/" + stem + "/" + member;
    return std::filesystem::exists(path) ? path : "";
}

class VectorsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(VectorsTest, ExtractsEveryMemberWithItsTime) {
    const std::string archive = GetParam();
    TempDir dir;
    Extraction x(kVectors + archive, dir.Path().string());
    ASSERT_TRUE(x.Run());
    EXPECT_TRUE(x.reports.empty()) << x.reports.front();

    const auto entries = ReadEntries(ReadFile(kVectors + archive));
    ASSERT_FALSE(entries.empty());
    for (const Entry& e : entries) {
        const Method* method = FindMethod(e.method);
        SCOPED_TRACE(e.name + ", " + (method != nullptr ? method->name : "unknown method"));
        const std::string out = dir / e.name;
        const Bytes got = ReadFile(out);
        EXPECT_EQ(got.size(), e.size);
        if (const std::string original = OriginalOf(archive, e.name); !original.empty()) {
            EXPECT_TRUE(got == ReadFile(original));
        }
        struct stat st {};
        ASSERT_EQ(::stat(out.c_str(), &st), 0);
        EXPECT_EQ(st.st_mtime, FromDosDateTime({e.time, e.date}).value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    ZipVectors, VectorsTest,
    ::testing::Values("hw-shrink.zip", "hw-reduce1.zip", "hw-reduce2.zip", "hw-reduce3.zip",
                      "hw-reduce4.zip", "hw-implode-4k2t.zip", "hw-implode-4k3t.zip",
                      "hw-implode-8k2t.zip", "hw-implode-8k3t.zip", "hw-allmethods.zip",
                      "mz-dch1.zip", "cc-shrunk.zip", "cc-implode-4k2t.zip", "cc-implode-8k3t.zip",
                      "cc-lorem-implode.zip", "cc-moby-subset.zip", "d2-implode.zip"),
    [](const auto& info) {
        std::string name = info.param;
        name = name.substr(0, name.size() - 4);
        std::erase(name, '-');
        return name;
    });

TEST(BadCrcVector, ReportsBothEntriesAndKeepsTheFiles) {
    TempDir dir;
    Extraction x(kVectors + "neg-badcrc.zip", dir.Path().string());
    ASSERT_TRUE(x.Run());
    const std::vector<std::string> expected = {
        "File " + (dir / "hello.txt") +
            " has bad CRC ! Stored CRC is AE0CB5D9, computed CRC is AE0CB5D8.",
        "File " + (dir / "repeat.txt") +
            " has bad CRC ! Stored CRC is E5A322C6, computed CRC is E5A322C7.",
    };
    EXPECT_EQ(x.reports, expected);
    EXPECT_EQ(ReadFile(dir / "hello.txt"), ReadFile(kVectors + "plain/hello.txt"));
    EXPECT_EQ(ReadFile(dir / "repeat.txt"), ReadFile(kVectors + "plain/repeat.txt"));
}

}  // namespace
}  // namespace kem::archive::testing
