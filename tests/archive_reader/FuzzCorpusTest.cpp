// Replays the fuzzer's corpus (grown by scripts/fuzz.sh) through the fuzz target's own entry:
// every input must extract without a crash, a hang or a sanitizer report.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/ArchiveFuzzInput.h"
#include "tests/support/ReaderTestSupport.h"

namespace kem::archive::testing {
namespace {

TEST(FuzzCorpus, EveryInputExtractsSafely) {
    const std::filesystem::path corpus = std::string(KEM_TEST_DATA) + "/fuzz-corpus/archive";
    std::size_t inputs = 0;
    for (const auto& file : std::filesystem::directory_iterator(corpus)) {
        SCOPED_TRACE(file.path().filename().string());
        const Bytes input = ReadFile(file.path().string());
        fuzz::ExtractWholeArchive(input.data(), input.size());
        ++inputs;
    }
    EXPECT_GT(inputs, 0u);
}

}  // namespace
}  // namespace kem::archive::testing
