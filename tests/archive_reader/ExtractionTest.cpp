// TUnZip::Extract end to end on hand-made archives: results, reports, selection and file safety.
#include <gtest/gtest.h>

#include "tests/support/ReaderTestSupport.h"

namespace kem::archive::testing {
namespace {

namespace fs = std::filesystem;

const Bytes kHello = ToBytes("Hello, map sheet!\r\n");
const Bytes kOther = ToBytes("second entry");

class ExtractionTest : public ::testing::Test {
protected:
    // Writes `zip` as the archive and extracts it into out/.
    bool Extract(const Bytes& zip, std::vector<std::string> masks = {}) {
        WriteFile(Archive(), zip);
        m_x.unzip.Files() = std::move(masks);
        return m_x.Run();
    }
    std::string Archive() const { return m_dir / "K26.z"; }
    std::string Out(const std::string& name) const { return m_dir / ("out/" + name); }
    const std::vector<std::string>& Reports() const { return m_x.reports; }
    std::string Damaged() const { return "Hlava chybí nebo je poškozena u " + Archive(); }

    TempDir m_dir;
    Extraction m_x{m_dir / "K26.z", m_dir / "out"};
};

TEST_F(ExtractionTest, StoredEntriesIncludingAnEmptyOne) {
    ASSERT_TRUE(
        Extract(MakeArchive({Entry::Stored("K26.bmp", kHello), Entry::Stored("empty.bmp", {}),
                             Entry::Stored("K27.bmp", kOther)})));
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(ReadFile(Out("K26.bmp")), kHello);
    EXPECT_TRUE(fs::exists(Out("empty.bmp")));
    EXPECT_EQ(fs::file_size(Out("empty.bmp")), 0u);
    EXPECT_EQ(ReadFile(Out("K27.bmp")), kOther);
}

TEST_F(ExtractionTest, ResultRules) {
    // A missing archive: nothing happens and nothing is made.
    EXPECT_TRUE(m_x.Run());
    EXPECT_FALSE(fs::exists(m_dir / "out"));
    EXPECT_TRUE(Reports().empty());

    // An empty extraction directory cannot be made: a run-time error.
    WriteFile(Archive(), MakeArchive({Entry::Stored("K26.bmp", kHello)}));
    m_x.unzip.SetExtrPath("");
    EXPECT_EQ(m_x.unzip.ExtrPath(), "");
    EXPECT_FALSE(m_x.Run());

    // A directory that cannot be made (a file is in the way): nothing happens, true.
    WriteFile(m_dir / "file", kOther);
    m_x.unzip.SetExtrPath(m_dir / "file/sub");
    EXPECT_TRUE(m_x.Run());
    EXPECT_TRUE(Reports().empty());

    // Missing directories are made, parents included.
    m_x.unzip.SetExtrPath(m_dir / "a/b");
    EXPECT_EQ(m_x.unzip.ExtrPath(), m_dir / "a/b/");
    EXPECT_TRUE(m_x.Run());
    EXPECT_EQ(ReadFile(m_dir / "a/b/K26.bmp"), kHello);
}

TEST_F(ExtractionTest, MasksSelectEntriesByFoldedStemAndExtension) {
    const Bytes zip =
        MakeArchive({Entry::Stored("k26.BMP", kHello), Entry::Stored("K26.txt", kOther),
                     Entry::Stored("L01.bmp", kOther)});
    const std::string cwd = fs::current_path().string();
    ASSERT_TRUE(Extract(zip, {"K*.bmp", cwd + "/nothing.*"}));
    EXPECT_TRUE(fs::exists(Out("k26.BMP")));
    EXPECT_FALSE(fs::exists(Out("K26.txt")));
    EXPECT_FALSE(fs::exists(Out("L01.bmp")));
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ExtractionTest, NamesLeavingTheDirectoryAreSkipped) {
    const std::string outside = m_dir / "escaped.bmp";
    ASSERT_TRUE(Extract(
        MakeArchive({Entry::Stored("sub/K26.bmp", kHello), Entry::Stored("../escaped.bmp", kHello),
                     Entry::Stored(outside, kHello), Entry::Stored("..", kHello),
                     Entry::Stored("K27.bmp", kOther)})));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_FALSE(fs::exists(Out("sub")));
    EXPECT_EQ(ReadFile(Out("K27.bmp")), kOther);

    // Not even a mask that names the parent directory lets them out.
    ASSERT_TRUE(Extract(MakeArchive({Entry::Stored("../escaped.bmp", kHello)}), {"../*.*"}));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ExtractionTest, ExistingFilesAreReplacedAndLinksNotFollowed) {
    fs::create_directories(m_dir / "out");
    WriteFile(Out("K26.bmp"), Bytes(100, 'x'));
    const std::string victim = m_dir / "victim";
    WriteFile(victim, kOther);
    fs::create_symlink(victim, Out("K27.bmp"));
    m_x.unzip.SetOverwrite(false);  // not consulted

    ASSERT_TRUE(
        Extract(MakeArchive({Entry::Stored("K26.bmp", kHello), Entry::Stored("K27.bmp", kHello)})));
    EXPECT_EQ(ReadFile(Out("K26.bmp")), kHello);
    EXPECT_FALSE(fs::is_symlink(Out("K27.bmp")));
    EXPECT_EQ(ReadFile(Out("K27.bmp")), kHello);
    EXPECT_EQ(ReadFile(victim), kOther);
}

TEST_F(ExtractionTest, OutputThatCannotBeCreatedSkipsOnlyThatEntry) {
    fs::create_directories(Out("K26.bmp"));  // a directory in the way
    ASSERT_TRUE(
        Extract(MakeArchive({Entry::Stored("K26.bmp", kHello), Entry::Stored("K27.bmp", kOther)})));
    EXPECT_EQ(Reports(), std::vector<std::string>{"Chyba souboru/cesty/syntaxe"});
    EXPECT_EQ(ReadFile(Out("K27.bmp")), kOther);
}

TEST_F(ExtractionTest, DamagedHeadersAndNames) {
    Bytes zip = MakeArchive({Entry::Stored("K26.bmp", kHello)});
    zip[3] = 5;  // signature "PK\3\5": the header is used all the same
    ASSERT_TRUE(Extract(zip));
    EXPECT_EQ(Reports(), std::vector<std::string>{Damaged()});
    EXPECT_EQ(ReadFile(Out("K26.bmp")), kHello);

    // A name of 300 bytes keeps its first 255.
    m_x.reports.clear();
    const std::string longName(300, 'n');
    ASSERT_TRUE(Extract(MakeArchive({Entry::Stored(longName, kHello)})));
    EXPECT_EQ(Reports(), std::vector<std::string>{"Jméno je chybné !"});
    EXPECT_EQ(ReadFile(Out(longName.substr(0, 255))), kHello);
}

TEST_F(ExtractionTest, UnknownMethodLeavesAnEmptyFileAndGoesOn) {
    Entry odd = Entry::Stored("K26.bmp", kHello);
    odd.method = 7;
    ASSERT_TRUE(Extract(MakeArchive({odd, Entry::Stored("K27.bmp", kOther)})));
    EXPECT_EQ(Reports(), std::vector<std::string>{
                             "Unknown compress method (7) use on K26.bmp ! Skip next..."});
    EXPECT_TRUE(ReadFile(Out("K26.bmp")).empty());
    EXPECT_EQ(ReadFile(Out("K27.bmp")), kOther);
}

TEST_F(ExtractionTest, AlteredDataIsReportedAndKept) {
    // CRC-32 values from Python's zlib.crc32; K54 checks that no leading zeros are printed.
    Entry altered = Entry::Stored("K26.bmp", kHello);
    altered.data[0] ^= 0x20;
    Entry tiny = Entry::Stored("K54.bmp", ToBytes("K54"));
    tiny.crc32 = 1;
    ASSERT_TRUE(Extract(MakeArchive({altered, tiny})));
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "File " + Out("K26.bmp") +
                                 " has bad CRC ! Stored CRC is EF8C8954, computed CRC is C908FF40.",
                             "File " + Out("K54.bmp") +
                                 " has bad CRC ! Stored CRC is 1, computed CRC is B8D30."}));
    EXPECT_EQ(ReadFile(Out("K26.bmp")), altered.data);
}

TEST_F(ExtractionTest, ArchiveCutShortKeepsWhatIsThere) {
    const Bytes zip = MakeArchive({Entry::Stored("K26.bmp", kHello)}, false);
    // Cut inside the data: the bytes present are written, nothing is made up, the CRC differs.
    ASSERT_TRUE(Extract(Bytes(zip.begin(), zip.end() - 5)));
    EXPECT_EQ(ReadFile(Out("K26.bmp")), Bytes(kHello.begin(), kHello.end() - 5));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_TRUE(Reports()[0].find("has bad CRC") != std::string::npos);
}

TEST_F(ExtractionTest, ArchiveWithoutDirectoryIsReportedOnce) {
    // The entries are extracted; the missing header at the end is reported once and no file
    // is made from it.
    ASSERT_TRUE(Extract(
        MakeArchive({Entry::Stored("K26.bmp", kHello), Entry::Stored("K27.bmp", kOther)}, false)));
    EXPECT_EQ(Reports(), std::vector<std::string>{Damaged()});
    EXPECT_EQ(ReadFile(Out("K27.bmp")), kOther);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "out"), {}), 2);

    // A header cut off in its middle, and an empty file, likewise.
    m_x.reports.clear();
    const Bytes zip = MakeArchive({Entry::Stored("K26.bmp", kHello)});
    ASSERT_TRUE(Extract(Bytes(zip.begin(), zip.begin() + 20)));
    ASSERT_TRUE(Extract({}));
    EXPECT_EQ(Reports(), (std::vector<std::string>{Damaged(), Damaged()}));

    // An archive with no entries at all is just its end record: nothing to report.
    m_x.reports.clear();
    ASSERT_TRUE(Extract(MakeArchive({})));
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ExtractionTest, ProgressCountsTheEntrysBytes) {
    std::vector<std::int16_t> seen;
    m_x.unzip.OnProgress = [&](ZipComponent& sender, std::int16_t percent) {
        EXPECT_EQ(&sender, &m_x.unzip);
        seen.push_back(percent);
    };
    // 8 bytes: remaining 8, 7, ... before each byte; 7/8 = 87.5 rounds to 88, 5/8 = 62.5 to 62.
    ASSERT_TRUE(Extract(MakeArchive({Entry::Stored("K26.bmp", ToBytes("12345678"))})));
    EXPECT_EQ(seen, (std::vector<std::int16_t>{0, 12, 25, 38, 50, 62, 75, 88}));
}

TEST(ReportError, GoesToOnErrorElseToTheWarningBox) {
    TUnZip unzip;
    std::vector<std::string> boxes;
    ZipComponent::SetWarningBox([&](const std::string& text) { boxes.push_back(text); });
    unzip.ReportError("first");
    std::string handled;
    unzip.OnError = [&](ZipComponent& sender, const std::string& text) {
        EXPECT_EQ(&sender, &unzip);
        handled = text;
    };
    unzip.ReportError("second");
    ZipComponent::SetWarningBox({});
    EXPECT_EQ(boxes, std::vector<std::string>{"first"});
    EXPECT_EQ(handled, "second");
}

}  // namespace
}  // namespace kem::archive::testing
