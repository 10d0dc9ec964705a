// Replays the corpora of the decoder and settings fuzzers (grown by scripts/fuzz.sh) through the
// targets' own entries: every input must pass without a crash, a hang or a sanitizer report.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/NmeaFuzzInput.h"
#include "fuzz/SettingsFuzzInput.h"

namespace kem {
namespace {

TEST(FuzzCorpus, EveryDecoderAndSettingsInputPassesSafely) {
    struct Target {
        const char* corpus;
        void (*run)(const std::uint8_t*, std::size_t);
    } const targets[] = {
        {"nmea", &gps::fuzz::DecodeInChunks},
        {"settings", &fuzz::ReadAndRewriteSettings},
    };
    for (const auto& target : targets) {
        std::size_t inputs = 0;
        const auto corpus = std::filesystem::path(KEM_TEST_DATA) / "fuzz-corpus" / target.corpus;
        for (const auto& file : std::filesystem::directory_iterator(corpus)) {
            SCOPED_TRACE(file.path().string());
            std::ifstream in(file.path(), std::ios::binary);
            const std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(in)), {});
            target.run(input.data(), input.size());
            ++inputs;
        }
        EXPECT_GT(inputs, 0u) << target.corpus;
    }
}

}  // namespace
}  // namespace kem
