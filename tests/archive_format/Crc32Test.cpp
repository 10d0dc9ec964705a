#include "archive/Crc32.h"

#include <gtest/gtest.h>

#include <string_view>

namespace kem::archive {
namespace {

std::uint32_t Checksum(std::string_view text) {
    auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return ~Crc32UpdateBlock(bytes, text.size(), kCrc32Start);
}

TEST(Crc32, KnownValues) {
    EXPECT_EQ(Checksum(""), 0u);
    EXPECT_EQ(Checksum("123456789"), 0xCBF43926u);
    EXPECT_EQ(Checksum("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST(Crc32, BlockAgreesWithByteStepsAtEveryLength) {
    std::uint8_t data[37];
    for (std::size_t i = 0; i < sizeof data; ++i) {
        data[i] = static_cast<std::uint8_t>(i * 97 + 13);
    }
    for (std::size_t len = 0; len <= sizeof data; ++len) {
        std::uint32_t stepwise = kCrc32Start;
        for (std::size_t i = 0; i < len; ++i) {
            stepwise = Crc32Update(data[i], stepwise);
        }
        EXPECT_EQ(Crc32UpdateBlock(data, len, kCrc32Start), stepwise) << "length " << len;
    }
}

}  // namespace
}  // namespace kem::archive
