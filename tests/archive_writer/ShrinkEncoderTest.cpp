#include "archive/ShrinkEncoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "tests/support/ArchiveFiles.h"

namespace kem::archive {
namespace {

using test::RandomBytes;
using test::ReadShrinkCodes;

std::vector<std::uint8_t> Shrink(std::string_view text) {
    return ShrinkEncoder::ShrinkAll(
        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(ShrinkEncoder, SmallInputsGiveTheExactBits) {
    struct Case {
        const char* name;
        std::string_view input;
        std::vector<std::uint8_t> want;
    };
    const Case cases[] = {
        {"empty input emits nothing", "", {}},
        // One 9-bit code, then 7 zero bits.
        {"one byte", "A", {0x41, 0x00}},
        // Codes 65, 257 ("AA"), 65 in 9 bits each, lowest bit first: 27 bits in 4 bytes.
        {"AAAA", "AAAA", {0x41, 0x02, 0x06, 0x01}},
        // Codes 65, 257, 257.
        {"AAAAA", "AAAAA", {0x41, 0x02, 0x06, 0x04}},
        // Codes 65, 66, 257 ("AB"), 65.
        {"ABABA", "ABABA", {0x41, 0x84, 0x04, 0x0C, 0x02}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Shrink(c.input), c.want);
    }
}

// Each data code sent while the dictionary still has room adds one entry: the k-th adds 256 + k.
TEST(ShrinkEncoder, WidensRightAfterTheLastCodeOfEachSizeIsHandedOut) {
    const auto input = RandomBytes(60000, 256, 7);
    const auto codes = ReadShrinkCodes(ShrinkEncoder::ShrinkAll(input));
    // Entries 511, 1023, 2047 and 4095 are added with the 255th, 767th, 1791st, 3839th code.
    EXPECT_EQ(codes.widenedAfter, (std::vector<std::size_t>{255, 767, 1791, 3839}));
    EXPECT_EQ(codes.finalWidth, 13u);
    EXPECT_TRUE(codes.otherControls.empty());
    ASSERT_FALSE(codes.clearedAfter.empty()) << "the input must fill the dictionary";
    // No code refers to an entry that the reader cannot have built yet.
    for (std::size_t k = 0; k < codes.clearedAfter.front(); ++k) {
        ASSERT_LE(codes.data[k], static_cast<int>(255 + k)) << "code #" << k + 1;
    }
}

TEST(ShrinkEncoder, ClearsOnTheByteAfterTheDictionaryFills) {
    // Four symbols: every pair is soon in the dictionary, so the byte after the last code is
    // handed out would extend the match if the encoder did not clear first.
    const auto input = RandomBytes(400000, 4, 11);
    const auto codes = ReadShrinkCodes(ShrinkEncoder::ShrinkAll(input));
    ASSERT_GE(codes.clearedAfter.size(), 2u);
    // The 7935th code adds entry 8191; the next byte sends the prefix (a single byte) and clears.
    EXPECT_EQ(codes.clearedAfter.front(), 7936u);
    for (std::size_t at : codes.clearedAfter) {
        EXPECT_LT(codes.data[at - 1], 256) << "clearing after code #" << at;
    }
    EXPECT_EQ(codes.widenedAfter.size(), 4u);
    EXPECT_TRUE(codes.otherControls.empty());
}

TEST(ShrinkEncoder, ResetForgetsThePreviousFile) {
    const auto first = RandomBytes(50000, 3, 1);
    const auto second = RandomBytes(30000, 200, 2);
    std::vector<std::uint8_t> out;
    auto encoder =
        std::make_unique<ShrinkEncoder>([&out](const std::uint8_t* data, std::size_t size) {
            out.insert(out.end(), data, data + size);
        });
    encoder->Put(first);
    encoder->Finish();
    out.clear();
    encoder->Reset();
    encoder->Put(second);
    encoder->Finish();
    EXPECT_EQ(out, ShrinkEncoder::ShrinkAll(second));
}

}  // namespace
}  // namespace kem::archive
