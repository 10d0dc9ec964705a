#include "packer/MapPacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/ArchiveFiles.h"

namespace kem::packer {
namespace {

using archive::test::Folder;
using archive::test::TempDir;
using archive::test::WriteFile;

TEST(MapPacker, ArchiveNameEndsAfterTheFirstDot) {
    EXPECT_EQ(ArchiveNameFor("K26.bmp"), "K26.z");
    EXPECT_EQ(ArchiveNameFor("a.b.bmp"), "a.z");
    EXPECT_EQ(ArchiveNameFor(".bmp"), ".z");
}

TEST(MapPacker, ListsEveryKindOfEntryThatLooksLikeABitmap) {
    TempDir dir;
    for (const char* name : {"K26.bmp", "k27.BMP", "a.b.bmp", "long.bmpx", "notes.txt", "bmp"}) {
        WriteFile(Folder(dir) + name, "x");
    }
    std::filesystem::create_directory(Folder(dir) + "x.bmp");
    auto names = ListBitmaps(Folder(dir));
    std::sort(names.begin(), names.end());
    // Only the first three characters of an extension count, as in the archive's name rule.
    EXPECT_EQ(names,
              (std::vector<std::string>{"K26.bmp", "a.b.bmp", "k27.BMP", "long.bmpx", "x.bmp"}));
    EXPECT_TRUE(ListBitmaps(Folder(dir) + "missing/").empty());
}

}  // namespace
}  // namespace kem::packer
