// The map files without a window: the square data file, the mark's place, expedition map names,
// the measurement log, whole-or-nothing writes, bitmap lengths and the clean-up of unpacked
// sheets.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "base/IoError.h"
#include "base/WholeFile.h"
#include "maps/BitmapLength.h"
#include "maps/ExpeditionMaps.h"
#include "maps/MapMark.h"
#include "maps/MeasurementLog.h"
#include "maps/SquareData.h"
#include "maps/UnpackedSheets.h"
#include "maps/WriteNotices.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TempFolderTest.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

using UnpackedSheetsTest = test::TempFolderTest;

// The whole content of a file.
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(UnpackedSheetsTest, DeletesBitmapsWithAnArchiveBesideThem) {
    for (const char* name :
         {"K26.bmp", "K26.z", "k27.BMP", "K27.Z", "M12.bmp", "notes.txt", ".bmp"}) {
        touch(name);
    }
    fs::create_directory(dir / "X01.bmp");
    touch("X01.z");
    deleteUnpackedSheets(dir.string() + "/");
    EXPECT_FALSE(fs::exists(dir / "K26.bmp"));
    EXPECT_FALSE(fs::exists(dir / "k27.BMP"));
    for (const char* kept : {"K26.z", "K27.Z", "M12.bmp", "notes.txt", ".bmp", "X01.bmp"}) {
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
    }
}

TEST_F(UnpackedSheetsTest, MissingFolderIsNoError) {
    EXPECT_NO_THROW(deleteUnpackedSheets((dir / "none").string()));
}

TEST(MapMark, PixelsFromTheRawPosition) {
    struct Case {
        const char* name;
        const char* lat;
        const char* lon;
        char separator;
        int x, y;
    };
    const Case cases[] = {
        {"inside the square", "5441,1234", "02519,5678", ',', 165, 272},
        {"point as separator", "5441.1234", "02519.5678", '.', 165, 272},
        {"on the southern edge", "5440,0000", "02510,0000", ',', 0, 306},
        {"at the north-east corner", "5449,9999", "02529,9999", ',', 172, 0},
        {"unreadable minutes count as 0", "54xx", "025", ',', 0, 306},
        {"short texts", "", "", ',', 0, 306},
        // Garbled numbers land far off the sheet, never in an undefined conversion.
        {"garbled far north", "5441e30", "02519,5678", ',', 165, -kFarOff},
        {"garbled far south", "544-1e30", "0251-1e30", ',', -kFarOff, kFarOff},
        {"beyond single precision", "5441e4000", "02511e4000", ',', kFarOff, -kFarOff},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MarkCentre centre = markCentre(c.lat, c.lon, c.separator);
        EXPECT_EQ(centre.x, c.x);
        EXPECT_EQ(centre.y, c.y);
    }
}

TEST(MapMark, QthCalculatorPixelsFromTypedMinutesAndSeconds) {
    struct Case {
        const char* name;
        const char* latMin;
        const char* latSec;
        const char* lonMin;
        const char* lonSec;
        int x, y;
    };
    const Case cases[] = {
        // 41'07" is 1.1167' past the square's edge: (10 - 1.1167) x 30.6 = 271.83; 19'33" is
        // 9.55': 17.2 x 9.55 = 164.26 (the receiver's mark of the same place is a pixel east).
        {"reduced by 10 until below 10", "41", "07", "19", "33", 164, 272},
        {"on the edges", "40", "0", "10", "0", 0, 306},
        {"last second of the square", "59", "59", "59", "59", 172, 1},
        {"blanks around and letters", " 41 ", "x", "19", "", 155, 275},
        {"negative minutes are not reduced", "-5", "0", "-1", "0", -17, 459},
        // Subtracting 10 from 2e9 in single precision changes nothing; the reduction still ends.
        {"huge minutes", "2000000000", "0", "2147483647", "59", 138, 306},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MarkCentre centre = qthMarkCentre(c.latMin, c.latSec, c.lonMin, c.lonSec);
        EXPECT_EQ(centre.x, c.x);
        EXPECT_EQ(centre.y, c.y);
    }
}

using MapFilesTest = test::TempFolderTest;

TEST_F(MapFilesTest, SquareCellsFromTheDataFileLastLineWins) {
    std::ofstream(dir / "kemwwl.DAT", std::ios::binary)
        << "K26 KO24PQ KO24QQ KO24PP KO24QP KO24PO KO24QO KO24PN KO24QN\r\n"
        << "K27 KO24RQ KO24SQ\r\n"
        << "K26 AAAAAA BBBBBB CCCCCC DDDDDD EEEEEE FFFFFF GGGGGG HHHHHH\r\n";
    const std::string file = findFileNoCase(dir.string(), "KEMWWL.dat");
    EXPECT_EQ(file, (dir / "kemwwl.DAT").string());

    const SquareCells k26 = readSquareCells(file, "K26");
    EXPECT_EQ(k26[0], "AAAAAA");
    EXPECT_EQ(k26[7], "HHHHHH");
    const SquareCells k27 = readSquareCells(file, "K27");
    EXPECT_EQ(k27[1], "KO24SQ");
    EXPECT_EQ(k27[2], "");
    EXPECT_EQ(readSquareCells(file, "K2")[0], "");    // codes compare on three characters
    EXPECT_EQ(readSquareCells(file, "K26 ")[0], "");  // a trailing blank matches nothing
    EXPECT_THROW(readSquareCells((dir / "none.dat").string(), "K26"), IoError);
    // A name that begins with "/" stays inside the folder.
    EXPECT_EQ(findFileNoCase(dir.string(), "/x.bmp"), dir.string() + "//x.bmp");
}

TEST_F(MapFilesTest, LocatorSearchTakesTheFirstLineThatHoldsIt) {
    const std::string file = (dir / "KEMWWL.dat").string();
    std::ofstream(file, std::ios::binary) << "K26 KO24PQ\r\n"
                                          << "K27 KO24PQ\r\n"
                                          << "L1 KO24RR\r\n";
    EXPECT_EQ(findSquareOfLocator(file, "KO24PQ"), "K26");
    EXPECT_EQ(findSquareOfLocator(file, "KO24RR"), "L1 ");
    EXPECT_EQ(findSquareOfLocator(file, "JO00AA"), "");
    EXPECT_THROW(findSquareOfLocator((dir / "none.dat").string(), "KO24PQ"), IoError);
}

// The shipped square data file is the generator's and covers the whole grid, A00 to P39.
TEST(SquareDataFile, ShippedFileCoversTheGrid) {
    std::ifstream in(std::string(KEM_PROGRAM_DIR) + "/KEMWWL.dat", std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(in)), {});
    const std::string text = squareDataText();
    EXPECT_EQ(shipped, text);

    ASSERT_EQ(text.size(), 640u * 62u);
    for (std::size_t i = 0; i < 640; ++i) {
        const std::string line = text.substr(i * 62, 62);
        char code[4];
        std::snprintf(code, sizeof code, "%c%02zu", static_cast<char>('A' + i / 40), i % 40);
        ASSERT_EQ(line.substr(0, 4), std::string(code) + " ") << i;
        ASSERT_EQ(line.substr(59), " \r\n") << code;
    }
    // K26 is 54°40'-54°50' N, 25°10'-25°20' E; P39 is the grid's south-east corner.
    const std::string dataFile = std::string(KEM_PROGRAM_DIR) + "/KEMWWL.dat";
    const SquareCells k26 = readSquareCells(dataFile, "K26");
    EXPECT_EQ(k26, (SquareCells{"KO24OT", "KO24PT", "KO24OS", "KO24PS", "KO24OR", "KO24PR",
                                "KO24OQ", "KO24PQ"}));
    const SquareCells p39 = readSquareCells(dataFile, "P39");
    EXPECT_EQ(p39, (SquareCells{"KO33QX", "KO33RX", "KO33QW", "KO33RW", "KO33QV", "KO33RV",
                                "KO33QU", "KO33RU"}));
}

TEST_F(MapFilesTest, ExpeditionMapNamesCountUpFromTheDate) {
    const std::string folder = dir.string() + "/";
    EXPECT_EQ(expeditionMapName(folder, "K26", 3, 7), folder + "K26_0307.bmp");
    touch("K26_0307.bmp");
    touch("K26_0307_1.bmp");
    EXPECT_EQ(expeditionMapName(folder, "K26", 3, 7), folder + "K26_0307_2.bmp");
    EXPECT_EQ(expeditionMapName(folder, "", 12, 31), folder + "_1231.bmp");
}

TEST_F(MapFilesTest, LogLinesAreAppendedTabSeparatedWithCrLf) {
    const std::string log = (dir / "Log.txt").string();
    const MeasurementLog measurements(log);
    LogEntry entry;
    const std::string deg = "\xB0";  // passed on as the byte it is
    entry.latitude = "48" + deg + "07' 01\" N";
    entry.longitude = "11" + deg + "31' 00\" E";
    entry.altitude = "545,4 m";
    entry.geoid = "46,9 m";
    EXPECT_THROW(measurements.Append(entry), IoError);  // created only at start-up
    measurements.CreateIfMissing();
    measurements.Append(entry);
    entry.dateTime = "1994.03.23  12:35:19 UTC";
    measurements.Append(entry);
    measurements.CreateIfMissing();  // an existing log is kept
    const std::string line =
        "\t" + entry.latitude + "\t" + entry.longitude + "\t545,4 m\t46,9 m\r\n";
    EXPECT_EQ(readFile(dir / "Log.txt"), line + entry.dateTime + line);
}

using test::gRoom;
using test::writeUntilFull;

// A close that reports what a network file system refused only then (after closing).
int closeRefused(int fd) {
    ::close(fd);
    errno = EIO;
    return -1;
}

TEST_F(MapFilesTest, WritesOntoAFullDiskLeaveWholeLinesAndNoPartOfAMap) {
    const std::string log = (dir / "Log.txt").string();
    const MeasurementLog measurements(log, {&writeUntilFull});
    measurements.CreateIfMissing();
    LogEntry entry{"2026.12.07  15:15:58 UTC", "54", "25", "100 m", "20 m"};
    const std::string line = "2026.12.07  15:15:58 UTC\t54\t25\t100 m\t20 m\r\n";
    gRoom = line.size() + 10;
    measurements.Append(entry);
    try {
        measurements.Append(entry);
        ADD_FAILURE() << "a short write passed";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + log + ": No space left on device");
    }
    EXPECT_EQ(readFile(dir / "Log.txt"), line);
    gRoom = 1000;  // space freed: the next line starts a line of its own
    measurements.Append(entry);
    EXPECT_EQ(readFile(dir / "Log.txt"), line + line);
    EXPECT_THROW(MeasurementLog(log, {::write, &closeRefused}).Append(entry), IoError);
    EXPECT_EQ(readFile(dir / "Log.txt"), line + line) << "a refused close left its line";

    gRoom = 100;
    EXPECT_THROW(
        CreateWhole((dir / "K26_0307.bmp").string(), std::string(500, 'B'), {&writeUntilFull}),
        IoError);
    gRoom = 1000;
    CreateWhole((dir / "K26_0308.bmp").string(), "new");
    EXPECT_THROW(CreateWhole((dir / "K26_0308.bmp").string(), "other"), IoError);
    // Nothing but the log and the one whole map: no part of a map, no file written beside one.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"Log.txt", "K26_0308.bmp"}));
    EXPECT_EQ(readFile(dir / "K26_0308.bmp"), "new");
}

TEST_F(MapFilesTest, LogOnAFullFileSystemKeepsOnlyWholeLines) {
    // Two pages: one for a filler file, one that the log fills.
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=8k") != 0) {
        GTEST_SKIP() << "no tmpfs to fill (mount needs root): " << std::strerror(errno);
    }
    struct Unmount {
        const fs::path& dir;
        ~Unmount() { ::umount2(dir.c_str(), MNT_DETACH); }
    } unmount{dir};
    std::ofstream(dir / "filler", std::ios::binary) << std::string(4096, 'x');
    const MeasurementLog measurements((dir / "Log.txt").string());
    measurements.CreateIfMissing();
    const LogEntry entry{"2026.12.07  15:15:58 UTC", "54", "25", "100 m", "20 m"};
    const std::string line = "2026.12.07  15:15:58 UTC\t54\t25\t100 m\t20 m\r\n";
    std::size_t lines = 0;
    for (; lines < 4096 / line.size() + 2; ++lines) {
        try {
            measurements.Append(entry);
        } catch (const IoError& e) {
            EXPECT_TRUE(std::string(e.what()).ends_with("No space left on device"));
            break;
        }
    }
    ASSERT_LT(lines, 4096 / line.size() + 2) << "the file system never filled";
    EXPECT_EQ(readFile(dir / "Log.txt").size(), lines * line.size());
    fs::remove(dir / "filler");
    measurements.Append(entry);
    const std::string text = readFile(dir / "Log.txt");
    EXPECT_EQ(text.size(), (lines + 1) * line.size());
    EXPECT_EQ(text.substr(text.size() - line.size()), line);
}

TEST(WriteNotices, EachKindIsNewsOnceUntilAWriteOfItSucceeds) {
    using Kind = WriteNotices::Kind;
    WriteNotices notices;
    EXPECT_FALSE(notices.Succeeded(Kind::Log));
    EXPECT_TRUE(notices.Failed(Kind::Log, "Unable to open Log.txt: No such file or directory"));
    EXPECT_FALSE(notices.Failed(Kind::Log, "Unable to open Log.txt: Is a directory"));
    EXPECT_EQ(notices.Message(Kind::Log), "Unable to open Log.txt: No such file or directory");
    EXPECT_TRUE(notices.Failed(Kind::SaveMap, "Unable to write to K26_0307.bmp: Disk full"));
    EXPECT_TRUE(notices.Succeeded(Kind::Log));
    EXPECT_EQ(notices.Message(Kind::Log), "");
    EXPECT_TRUE(notices.Failed(Kind::Log, "Unable to open Log.txt: Is a directory"));
    EXPECT_FALSE(notices.Message(Kind::SaveMap).empty());
}

// A bitmap's first bytes: file header (offset of the pixels 54) and a 40-byte info header.
std::vector<std::uint8_t> bitmapHead(std::int32_t width, std::int32_t height, int bits,
                                     std::uint32_t compression = 0, std::uint32_t imageSize = 0) {
    std::vector<std::uint8_t> head(54);
    auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            head[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    head[0] = 'B';
    head[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, bits, 2);
    put(30, compression, 4);
    put(34, imageSize, 4);
    return head;
}

TEST(BitmapLength, PixelRowsAfterTheOffsetPaddedToWords) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> head;
        std::optional<std::uint64_t> length;
    };
    std::vector<std::uint8_t> core = bitmapHead(0, 0, 0);
    core[14] = 12;  // core header: 16-bit width 3 and height 2, 8 bits per pixel
    core[18] = 3;
    core[20] = 2;
    core[24] = 8;
    std::vector<std::uint8_t> cut = bitmapHead(1, 1, 24);
    cut.resize(30);
    const Case cases[] = {
        {"a sheet, 24 bits", bitmapHead(172, 306, 24), 54 + 516 * 306},
        {"top-down", bitmapHead(172, -306, 24), 54 + 516 * 306},
        {"1 bit, padded row", bitmapHead(33, 2, 1), 54 + 8 * 2},
        {"run-length: the stored size", bitmapHead(172, 306, 8, 1, 999), 54 + 999},
        {"core header", core, 54 + 4 * 2},
        {"not a bitmap", std::vector<std::uint8_t>(54, 'x'), std::nullopt},
        {"cut within the header", cut, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(declaredBitmapLength(c.head), c.length);
    }
}

}  // namespace
}  // namespace kem::maps
