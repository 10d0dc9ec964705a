#include "archive/NameMatch.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/PathParts.h"

namespace kem::archive {
namespace {

TEST(PathParts, SplitAtTheLastSlash) {
    EXPECT_EQ(DirPart("/maps/SKVERAI/K26.bmp"), "/maps/SKVERAI");
    EXPECT_EQ(NamePart("/maps/SKVERAI/K26.bmp"), "K26.bmp");
    EXPECT_EQ(DirPart("K26.bmp"), "");
    EXPECT_EQ(NamePart("K26.bmp"), "K26.bmp");
    EXPECT_EQ(DirPart("/K26.bmp"), "");
    EXPECT_EQ(NamePart("dir/"), "");
    // A backslash or colon is an ordinary character here.
    EXPECT_EQ(NamePart("C:a\\b"), "C:a\\b");
}

TEST(PathParts, StemEndsAtTheFirstDotExtensionStartsAfterTheLast) {
    EXPECT_EQ(StemPart("/x/a.b.c"), "a");
    EXPECT_EQ(ExtPart("/x/a.b.c"), "c");
    EXPECT_EQ(StemPart("/x.d/name"), "name");
    EXPECT_EQ(ExtPart("/x.d/name"), "");  // the dot belongs to a folder
    EXPECT_EQ(ExtPart("a.bmpx"), "bmp");
    EXPECT_EQ(ExtPart("a."), "");
    EXPECT_EQ(StemPart(".profile"), "");
    EXPECT_EQ(ExtPart(".profile"), "pro");
}

TEST(PathParts, ExpandResolvesAgainstTheCurrentDirectory) {
    const std::string here = ExpandPath(".");
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(here.front(), '/');
    EXPECT_NE(here.back(), '/');
    EXPECT_EQ(ExpandPath("a/../K26.bmp"), here + "/K26.bmp");
    EXPECT_EQ(ExpandPath("sub/"), here + "/sub");
    EXPECT_EQ(ExpandPath("/"), "/");
    EXPECT_EQ(ExpandPath("/a/./b/../c"), "/a/c");
    EXPECT_EQ(ExpandPath(""), "");
}

TEST(FoldChar, FoldsAsciiAndTheCentralEuropeanLetters) {
    EXPECT_EQ(FoldChar('a'), 'A');
    EXPECT_EQ(FoldChar('z'), 'Z');
    EXPECT_EQ(FoldChar('A'), 'A');
    EXPECT_EQ(FoldChar('{'), '{');
    EXPECT_EQ(FoldChar('`'), '`');
    const unsigned char lower[] = {0xFC, 0xF6, 0xE9, 0xF9, 0xEF, 0xFD, 0xE4, 0x9D,
                                   0xE8, 0xE1, 0xEC, 0xED, 0xE5, 0xF3, 0xBE, 0xFA,
                                   0x9E, 0xF2, 0xF4, 0x9A, 0xF8, 0xE0};
    const unsigned char upper[] = {0xDC, 0xD6, 0xC9, 0xD9, 0xCF, 0xDD, 0xC4, 0x8D,
                                   0xC8, 0xC1, 0xCC, 0xCD, 0xC5, 0xD3, 0xBC, 0xDA,
                                   0x8E, 0xD2, 0xD4, 0x8A, 0xD8, 0xC0};
    int folded = 0;
    for (int c = 0x80; c < 0x100; ++c) {
        if (FoldChar(static_cast<char>(c)) != static_cast<char>(c)) {
            ++folded;
        }
    }
    EXPECT_EQ(folded, 22);
    for (std::size_t k = 0; k < sizeof lower; ++k) {
        EXPECT_EQ(FoldChar(static_cast<char>(lower[k])), static_cast<char>(upper[k])) << k;
        EXPECT_EQ(FoldChar(static_cast<char>(upper[k])), static_cast<char>(upper[k])) << k;
    }
    // Other high letters stay, e.g. the Windows-1250 "ß" and "ł" (0xDF, 0xB3).
    EXPECT_EQ(FoldChar(static_cast<char>(0xDF)), static_cast<char>(0xDF));
    EXPECT_EQ(FoldChar(static_cast<char>(0xB3)), static_cast<char>(0xB3));
}

struct WildCase {
    const char* s;
    const char* n;
    bool match;
};

// Every row is checked in both orders: "?" and "*" count in either string.
TEST(WildMatch, Cases) {
    const WildCase cases[] = {
        {"", "", true},
        {"", "*", true},
        {"", "**", true},
        {"", "*a", false},
        {"", "a", false},
        {"K26", "k26", true},
        {"K26", "K27", false},
        {"K2", "K26", false},
        {"K?6", "K26", true},
        {"K??", "K2", false},
        {"*", "anything", true},
        {"K*", "K", true},
        {"K*", "K26", true},
        {"*6", "K26", true},
        {"*6", "K27", false},
        {"K*6", "K123456", true},
        {"K*6*", "K16x", true},
        {"K*x*y", "K1x2x3y", true},
        {"K*x*y", "K1x2x3", false},
        {"a**", "a", true},
        {"a*?", "a", false},
        {"K26", "*7", false},
        {"*a", "*b", false},
        {"a*", "*b", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildMatch(c.s, c.n), c.match) << '"' << c.s << "\" vs \"" << c.n << '"';
        EXPECT_EQ(WildMatch(c.n, c.s), c.match) << "swapped: " << c.n << " vs " << c.s;
    }
}

TEST(WildMatch, FoldsCentralEuropeanLetters) {
    EXPECT_TRUE(WildMatch("\xE8\x9A", "\xC8\x8A"));  // čš / ČŠ
    EXPECT_FALSE(WildMatch("\xB3", "\xA3"));         // ł / Ł are not folded
}

TEST(WildMatch, ManyStarsOnBothSidesStayFast) {
    std::string s;
    std::string n;
    for (int k = 0; k < 120; ++k) {
        s += "*a";
        n += "*b";
    }
    EXPECT_FALSE(WildMatch(s, n));
    EXPECT_TRUE(WildMatch(s, n + "a"));
}

TEST(MatchFileSpec, ComparesStemExtensionAndFolder) {
    const std::string dir = "/home/user/SKVERAI/";
    EXPECT_TRUE(MatchFileSpec(dir + "*.*", dir + "K26.bmp"));
    EXPECT_FALSE(MatchFileSpec(dir + "*.*", dir + "SUB/K26.bmp"));
    EXPECT_TRUE(MatchFileSpec(dir + "k26.BMP", dir + "K26.bmp"));
    EXPECT_TRUE(MatchFileSpec(dir + "a.bmpx", dir + "a.bmp"));
    EXPECT_TRUE(MatchFileSpec(dir + "a.b.c", dir + "a.x.c"));  // middle parts are ignored
    EXPECT_FALSE(MatchFileSpec(dir + "*", dir + "K26.bmp"));
    EXPECT_TRUE(MatchFileSpec(dir + "*", dir + "README"));
    EXPECT_TRUE(MatchFileSpec(dir + "*.bmp", dir + "K26.bmp"));
    EXPECT_FALSE(MatchFileSpec(dir + "*.bmp", dir + "K26.z"));
    // Folders compare byte for byte, case included.
    EXPECT_FALSE(MatchFileSpec("/home/user/skverai/*.*", dir + "K26.bmp"));
}

}  // namespace
}  // namespace kem::archive
