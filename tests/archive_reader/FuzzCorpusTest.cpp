// Replays the fuzzers' corpora (grown by scripts/fuzz.sh) through the targets' own entries:
// every input must pass without a crash, a hang or a sanitizer report.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/ArchiveFuzzInput.h"
#include "fuzz/NmeaFuzzInput.h"
#include "fuzz/SettingsFuzzInput.h"
#include "tests/support/ReaderTestSupport.h"

namespace kem::archive::testing {
namespace {

TEST(FuzzCorpus, EveryInputExtractsSafely) {
    struct Target {
        const char* corpus;
        void (*run)(const std::uint8_t*, std::size_t);
    } const targets[] = {
        {"archive", &fuzz::ExtractWholeArchive},
        {"nmea", &gps::fuzz::DecodeInChunks},
        {"settings", &kem::fuzz::ReadAndRewriteSettings},
    };
    for (const auto& target : targets) {
        std::size_t inputs = 0;
        const auto corpus = std::filesystem::path(KEM_TEST_DATA) / "fuzz-corpus" / target.corpus;
        for (const auto& file : std::filesystem::directory_iterator(corpus)) {
            SCOPED_TRACE(file.path().string());
            const Bytes input = ReadFile(file.path().string());
            target.run(input.data(), input.size());
            ++inputs;
        }
        EXPECT_GT(inputs, 0u) << target.corpus;
    }
}

}  // namespace
}  // namespace kem::archive::testing
