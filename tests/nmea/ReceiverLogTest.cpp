#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "RecordingHost.h"

namespace kem::gps::test {
namespace {

const std::filesystem::path kLogDir = std::filesystem::path(KEM_TEST_DATA) / "nmea";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::filesystem::path> Logs() {
    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(kLogDir)) {
        if (entry.path().extension() == ".log") {
            logs.push_back(entry.path());
        }
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

struct Outcome {
    GpsFix fix;
    std::string square;
    std::vector<std::string> memo;
    std::vector<std::string> steps;
    std::string firstSatellite;
};

// Streams bytes in chunks of 1..maxChunk bytes; maxChunk 0 feeds one line (up to its CR) a call.
Outcome Decode(const std::string& bytes, std::size_t maxChunk, unsigned seed,
               bool satVisible = false) {
    RecordingHost host;
    host.memoVisible = true;
    host.log = true;
    host.satVisible = satVisible;
    NmeaDecoder decoder(host);
    decoder.SetPeriod(3);
    decoder.SetDecimalSeparator(',');
    std::mt19937 random(seed);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t size;
        if (maxChunk == 0) {
            const auto cr = bytes.find('\r', pos);
            size = cr == std::string::npos ? bytes.size() - pos : cr + 1 - pos;
        } else {
            size = std::min<std::size_t>(1 + random() % maxChunk, bytes.size() - pos);
        }
        Feed(decoder, bytes.substr(pos, size));
        pos += size;
    }
    return {decoder.Fix(), decoder.CurrentSquare(), host.memo, host.StepCalls(),
            host.table.Cell(1, SatColumn::Nr)};
}

// Every text of the fix, in one comparable list.
std::vector<std::string> Texts(const GpsFix& f) {
    return {f.DateTimeText, f.SpeedText, f.TimeText, f.LatText,  f.LongText,
            f.AltitudeText, f.GeoidText, f.SatsText, f.ModeText, f.NoFix ? "NoFix" : "",
            f.LatRaw,       f.LongRaw};
}

TEST(ReceiverLogs, ChunkSizeDoesNotChangeTheResult) {
    const auto logs = Logs();
    ASSERT_EQ(logs.size(), 15u);
    for (const auto& path : logs) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = ReadFile(path);
        const Outcome byLine = Decode(bytes, 0, 0);
        EXPECT_FALSE(byLine.fix.TimeText.empty());
        EXPECT_FALSE(byLine.steps.empty());
        for (const unsigned seed : {1u, 2u, 3u}) {
            for (const std::size_t maxChunk : {1u, 7u, 40u, 300u}) {
                SCOPED_TRACE("seed " + std::to_string(seed) + " chunk " + std::to_string(maxChunk));
                const Outcome chunked = Decode(bytes, maxChunk, seed);
                EXPECT_EQ(Texts(chunked.fix), Texts(byLine.fix));
                EXPECT_EQ(chunked.square, byLine.square);
                EXPECT_EQ(chunked.memo, byLine.memo);
                EXPECT_EQ(chunked.steps, byLine.steps);
            }
        }
        // With the satellite window open the GSV rows and the sky plot run too.
        EXPECT_FALSE(Decode(bytes, 64, 7, true).firstSatellite.empty());
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
        ASSERT_LE(decoder.PendingLine().size(), LineAssembler::kPendingCap);
    }
    decoder.Receive(nullptr, 0);
}

}  // namespace
}  // namespace kem::gps::test
