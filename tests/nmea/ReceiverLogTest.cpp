#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>

#include "DecoderTrace.h"
#include "RecordingHost.h"

namespace kem::gps::test {
namespace {

const std::filesystem::path kLogDir = std::filesystem::path(KEM_TEST_DATA) / "nmea";

// Chunks of 1..maxChunk bytes, cut anywhere, so sentences and CR LF pairs are split across
// calls. A GSV sentence with fewer than two satellites in view ends its batch (geos-1m.log has
// some): whether the lines after it are decoded would depend on where the chunk ends, so every GSV
// line ends its chunk.
void FeedInRandomChunks(DecoderTrace& trace, std::string_view bytes, std::size_t maxChunk,
                        unsigned seed) {
    std::vector<std::size_t> cuts;  // just after the carriage return of every GSV line
    for (auto at = bytes.find("$GPGSV,"); at != std::string_view::npos;
         at = bytes.find("$GPGSV,", at + 1)) {
        const auto cr = bytes.find('\r', at);
        if (cr != std::string_view::npos) {
            cuts.push_back(cr + 1);
        }
    }
    std::mt19937 random(seed);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = std::min(pos + 1 + random() % maxChunk, bytes.size());
        const auto cut = std::upper_bound(cuts.begin(), cuts.end(), pos);
        if (cut != cuts.end() && *cut < end) {
            end = *cut;
        }
        trace.Feed(bytes.substr(pos, end - pos));
        pos = end;
    }
}

// Equal texts, or a failure that shows the first line where they differ.
::testing::AssertionResult SameLines(const std::string& expected, const std::string& actual) {
    std::istringstream want(expected);
    std::istringstream got(actual);
    std::string a;
    std::string b;
    for (int line = 1;; ++line) {
        const bool moreWanted = static_cast<bool>(std::getline(want, a));
        const bool moreGot = static_cast<bool>(std::getline(got, b));
        if (!moreWanted && !moreGot) {
            return ::testing::AssertionSuccess();
        }
        if (moreWanted != moreGot || a != b) {
            return ::testing::AssertionFailure() << "first difference in line " << line
                                                 << "\n  expected: " << (moreWanted ? a : "(end)")
                                                 << "\n  actual:   " << (moreGot ? b : "(end)");
        }
    }
}

TEST(ReceiverLogs, DecodeAsTheirExpectedFilesInAnyChunking) {
    const auto logs = ReceiverLogs(kLogDir);
    ASSERT_EQ(logs.size(), 15u);
    for (const auto& path : logs) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = ReadBytes(path);
        const std::string expected = ReadBytes(ExpectedPath(path));
        ASSERT_FALSE(expected.empty()) << "no expected file: run make golden";
        DecoderTrace byLine;
        FeedByLine(byLine, bytes);
        const std::string lineByLine = byLine.Text();
        EXPECT_TRUE(SameLines(expected, lineByLine))
            << "\nIf the decoder was changed on purpose, run make golden and review the diff.";
        for (const unsigned seed : {1u, 2u, 3u}) {
            for (const std::size_t maxChunk : {1u, 7u, 40u, 300u}) {
                SCOPED_TRACE("seed " + std::to_string(seed) + " chunk " + std::to_string(maxChunk));
                DecoderTrace chunked;
                FeedInRandomChunks(chunked, bytes, maxChunk, seed);
                EXPECT_TRUE(SameLines(lineByLine, chunked.Text()));
                EXPECT_EQ(chunked.Echoed(), byLine.Echoed());
            }
        }
    }
}

TEST(ReceiverLogs, GarbageNeverCrashesAndStaysBounded) {
    RecordingHost host;
    host.satVisible = host.memoVisible = host.log = host.autoMap = true;
    NmeaDecoder decoder(host);
    decoder.SetPeriod(1);
    std::mt19937 random(11);
    const std::string alphabet = "$GPRMCGAVS,.*\"0123456789 \r\n\t";
    for (int chunk = 0; chunk < 20000; ++chunk) {
        std::string bytes(1 + random() % 100, '\0');
        for (char& c : bytes) {
            c = random() % 4 == 0 ? static_cast<char>(random())
                                  : alphabet[random() % alphabet.size()];
        }
        if (chunk % 3 == 0) {
            bytes.insert(0, "$GP" + std::string(chunk % 2 ? "GSV," : "GGA,"));
        }
        Feed(decoder, bytes);
        ASSERT_LE(decoder.PendingLine().size(), LineAssembler::kMaxLine);
    }
    decoder.Receive(nullptr, 0);
}

}  // namespace
}  // namespace kem::gps::test
