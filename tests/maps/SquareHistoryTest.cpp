// The history of visited squares: built from the measurement log and the saved maps, kept in
// its file, added to by position steps, exported as CSV. Expected squares are worked out by hand
// from the grid (10' bands southwards from 56°30' N and eastwards from 20°50' E).
#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>
#include <fstream>

#include "base/IoError.h"
#include "maps/SquareTexts.h"
#include "maps/SquareVisits.h"
#include "tests/support/TempFolderTest.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file without its first (comment) line.
std::string records(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

// A log line as the main window writes it: Windows-1257, the degree sign is byte 0xB0.
std::string logLine(const std::string& date, const char* lat, const char* lon) {
    return date + "\t" + lat + "\t" + lon + "\t100,0 m\t20,0 m\r\n";
}

const std::string kLog = logLine("2026.12.08  10:00:01 UTC",
                                 "54\xB0"
                                 "41' 07\" N",
                                 "25\xB0"
                                 "19' 33\" E") +  // K26
                         logLine("2026.12.07  23:59:59 UTC",
                                 "56\xB0"
                                 "25' 00\" N",
                                 "20\xB0"
                                 "55' 00\" E") +  // A00
                         logLine("2026.12.08  00:00:00 UTC",
                                 "56\xB0"
                                 "25' 00\" N",
                                 "27\xB0"
                                 "25' 00\" E") +  // A39
                         logLine("",
                                 "53\xB0"
                                 "55' 00\" N",
                                 "20\xB0"
                                 "55' 00\" E") +  // P00
                         logLine("2026.12.08  08:00:00 UTC",
                                 "53\xB0"
                                 "55' 00\" N",
                                 "27\xB0"
                                 "25' 00\" E") +  // P39
                         logLine("2026.12.08  11:30:00 UTC",
                                 "54\xB0"
                                 "41' 07\" N",
                                 "25\xB0"
                                 "19' 33\" E") +  // K26
                         logLine("2026.12.08  12:00:00 UTC",
                                 "48\xB0"
                                 "07' 01\" N",
                                 "11\xB0"
                                 "31' 00\" E") +  // abroad
                         "garbage\r\n" +
                         "2026.12.08  12:00:00 UTC\t54\xB0"
                         "41'\r\n";

// 1700000000 s after 1970 is 2023-11-14 22:13:20 UTC.
const std::string kBuilt =
    "A00 2026-12-07T23:59:59Z 2026-12-07T23:59:59Z 1\n"
    "A39 2026-12-08T00:00:00Z 2026-12-08T00:00:00Z 1\n"
    "E05 2023-11-14T22:13:20Z 2023-11-14T22:13:20Z 0\n"
    "K26 2026-12-08T10:00:01Z 2026-12-08T11:30:00Z 2\n"
    "P00 - - 1\n"
    "P39 2026-12-08T08:00:00Z 2026-12-08T08:00:00Z 1\n";

class SquareHistoryTest : public test::TempFolderTest {
protected:
    SquareHistoryTest() {
        std::ofstream(dir / "Log.txt", std::ios::binary) << kLog;
        // 55°45' N 21°45' E is E05; the others are no saved maps of a square.
        for (const char* name : {"E05_0307.bmp", "_0307.bmp", "notes.bmp", "Q10_0307.bmp"}) {
            touch(name);
            const utimbuf times{1700000000, 1700000000};
            ::utime((dir / name).c_str(), &times);
        }
    }
    std::string folder() const { return dir.string() + "/"; }
    std::string historyText() const { return readFile(dir / SquareVisits::kFileName); }
};

TEST_F(SquareHistoryTest, FirstUseBuildsFromTheLogAndTheSavedMapsAndLaterRunsOnlyAdd) {
    SquareVisits first(folder());
    first.Open();
    EXPECT_EQ(records(historyText()), kBuilt);
    const auto problems = first.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Log.txt: praleista neperskaitomų eilučių: 2"), std::string::npos);
    EXPECT_TRUE(first.TakeProblems().empty());  // reported once
    EXPECT_EQ(readFile(dir / "Log.txt"), kLog);

    SquareVisits second(folder());
    second.Open();
    EXPECT_EQ(second.History(), first.History());
    EXPECT_TRUE(second.TakeProblems().empty());
    second.Step({54.6853f, 25.3258f}, 1765200000);  // K26 again, 2025-12-08 13:20:00 UTC
    EXPECT_NE(historyText().find("K26 2025-12-08T13:20:00Z 2026-12-08T11:30:00Z 3\n"),
              std::string::npos);
    EXPECT_EQ(readFile(dir / "Log.txt"), kLog);
}

TEST_F(SquareHistoryTest, PositionStepsWriteTheFileOnEachChangeOfSquare) {
    std::ofstream(dir / SquareVisits::kFileName) << "";
    SquareVisits visits(folder());
    const LatLong k26{54.6853f, 25.3258f}, l27{54.5833f + 0.005f, 25.4167f};  // 54°35.3' 25°25'
    visits.Step(k26, 1000);
    EXPECT_EQ(records(historyText()), "K26 1970-01-01T00:16:40Z 1970-01-01T00:16:40Z 1\n");
    visits.Step(k26, 1060);
    EXPECT_EQ(records(historyText()), "K26 1970-01-01T00:16:40Z 1970-01-01T00:16:40Z 1\n");
    visits.Step(l27, 1120);
    EXPECT_EQ(records(historyText()),
              "K26 1970-01-01T00:16:40Z 1970-01-01T00:17:40Z 2\n"
              "L27 1970-01-01T00:18:40Z 1970-01-01T00:18:40Z 1\n");
    visits.Step({48.0f, 11.0f}, 1180);  // off the grid: in no square, not on the track
    EXPECT_EQ(visits.Track().size(), 3u);
    EXPECT_FALSE(visits.Current());
    EXPECT_EQ(visits.History().VisitedCount(GridMaskOfList("K26\r\nA00\n Q10\nL2\n")), 1);
}

TEST_F(SquareHistoryTest, DamagedHistoryLinesAreSkippedReportedOnceAndKeptAsComments) {
    std::ofstream(dir / SquareVisits::kFileName)
        << "# comment\n"
           "K26 2026-12-08T10:00:01Z 2026-12-08T11:30:00Z 2\n"
           "K26 2026-12-09T10:00:00Z 2026-12-09T10:00:00Z 1\r\n"  // twice: merged
           "Q10 2026-12-08T10:00:01Z 2026-12-08T10:00:01Z 1\n"    // no square of the grid
           "A00 2026-02-30T10:00:00Z 2026-02-30T10:00:00Z 1\n"    // no such day
           "A01 2026-12-09T10:00:00Z 2026-12-08T10:00:00Z 1\n"    // last before first
           "A02 - 2026-12-08T10:00:00Z 1\n"                       // one time unknown
           "A03 2026-12-08T10:00:00Z 2026-12-08T10:00:00Z x\n"
           "A04 2026-12-08T10:00:00Z\n"
           "\n";
    SquareVisits visits(folder());
    visits.Open();
    const std::string kept = "K26 2026-12-08T10:00:01Z 2026-12-09T10:00:00Z 3\n";
    EXPECT_EQ(records(SquareHistory(visits.History()).Text()), kept);
    const auto problems = visits.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("sugadintų eilučių: 6 (pirmoji: Q10 "), std::string::npos);

    SquareVisits again(folder());
    again.Open();
    EXPECT_EQ(again.History(), visits.History());
    EXPECT_TRUE(again.TakeProblems().empty());
    again.Step({54.6853f, 25.3258f}, 0);  // rewritten: the damaged lines stay for mending
    EXPECT_NE(historyText().find("# sugadinta: A04 2026-12-08T10:00:00Z\n"), std::string::npos);
    EXPECT_NE(historyText().find("# sugadinta: Q10 "), std::string::npos);
}

TEST_F(SquareHistoryTest, AFolderThatCannotBeWrittenStillGivesTheHistory) {
    SquareVisits visits(folder() + "missing/");
    EXPECT_THROW(visits.Open(), IoError);
    EXPECT_TRUE(visits.IsOpen());
    EXPECT_THROW(visits.Step({54.6853f, 25.3258f}, 0), IoError);
    EXPECT_TRUE(visits.History().Visited(*GridIndex("K26")));
    visits.Step({54.6853f, 25.3258f}, 60);  // the same square: no write tried
}

TEST(SquareCsvTest, OneRowPerVisitedSquareWithItsLocatorsAndDates) {
    SquareHistory history;
    history.Add(*GridIndex("P39"), 1700000000, 4);
    history.Add(*GridIndex("A00"), kUnknownTime, 1);
    const std::map<std::string, SquareCells> cells = {
        {"P39", {"KO33QX", "KO33RX", "KO33QW", "KO33RW", "KO33QV", "KO33RV", "KO33QU", "KO33RU"}},
        {"A00", {"a,b", "", "", "", "", "", "", ""}}};
    EXPECT_EQ(SquaresCsv(history, cells),
              "kvadratas,lokatoriai,pirmas_apsilankymas,paskutinis_apsilankymas,zingsniai\n"
              "A00,\"a,b       \",,,1\n"
              "P39,KO33QX KO33RX KO33QW KO33RW KO33QV KO33RV KO33QU KO33RU,2023-11-14,"
              "2023-11-14,4\n");
}

}  // namespace
}  // namespace kem::maps
