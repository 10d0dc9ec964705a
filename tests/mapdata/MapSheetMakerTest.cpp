// The generator's own rules: the extract files, and room for town names that the program's grid
// and texts never cover.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "base/IoError.h"
#include "maps/MapSheet.h"
#include "tests/support/ArchiveFiles.h"
#include "tools/mapsheets/CountryOutline.h"
#include "tools/mapsheets/LandMask.h"
#include "tools/mapsheets/MapFeatures.h"
#include "tools/mapsheets/SheetGrid.h"
#include "tools/mapsheets/TownLabels.h"

namespace kem::mapsheets {
namespace {

using archive::test::Folder;
using archive::test::TempDir;

bool InsideAny(const std::vector<Box>& boxes, int x, int y) {
    return std::any_of(boxes.begin(), boxes.end(), [&](const Box& box) {
        return box.Overlaps({x, y, x + 1, y + 1});
    });
}

// Squares placed by hand on a map: the country's land must not leak across a border.
TEST(CountryOutline, HoldsTheCountrysLandAndNoOther) {
    const std::string extracts = KEM_MAP_DATA;
    const LandMask mask = DecodeMask(ReadFileBytes(extracts + "/landmask.rle"));
    const std::vector<bool> squares = SquaresWithLand(
        CountryLand(mask, CompletedBorders(ReadLines(extracts + "/borders.txt")), kCountrySeeds));
    const struct {
        const char* code;
        bool land;
        const char* what;
    } cases[] = {
        {"K26", true, "Vilnius"},
        {"H01", true, "Nida, on the country's end of the Curonian Spit"},
        {"A00", false, "the Baltic Sea and Latvia's coast"},
        {"P39", false, "Belarus"},
        {"J03", false, "Kaliningrad region south of the Nemunas"},
        {"I00", false, "the Russian end of the spit, the lagoon and the sea"},
        {"O10", false, "Poland west of the three countries' corner"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int index = (c.code[0] - 'A') * kColumns + std::stoi(c.code + 1);
        EXPECT_EQ(squares[index], c.land) << c.code;
    }
}

TEST(LandMaskFile, KeepsEveryCellAndRefusesDamage) {
    LandMask mask{300, 7, {}};
    // Runs that fit one byte and runs that need two or three, some longer than a row.
    const std::size_t lengths[] = {1, 31, 32, 33, 300, 1, 600, 4097, 2, 7};
    for (std::size_t run = 0; mask.cells.size() < 300 * 7; ++run) {
        const std::size_t length = std::min(lengths[run % 10], 300 * 7 - mask.cells.size());
        mask.cells.insert(mask.cells.end(), length, static_cast<Surface>(run % 3));
    }
    const std::vector<std::uint8_t> file = EncodeMask(mask);
    const LandMask back = DecodeMask(file);
    EXPECT_EQ(back.width, mask.width);
    EXPECT_EQ(back.height, mask.height);
    EXPECT_EQ(back.cells, mask.cells);

    const auto damaged = [&](std::size_t at, std::uint8_t value) {
        auto bytes = file;
        bytes[at] = value;
        return bytes;
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } broken[] = {
        {"cut short", {file.begin(), file.end() - 1}},
        {"one byte more",
         [&] {
             auto b = file;
             b.push_back(4 | 1);
             return b;
         }()},
        {"wrong magic", damaged(0, 'X')},
        {"wider than its runs", damaged(8, 0x2D)},
        {"surface 3", damaged(16, 0x07)},
        {"unfinished run",
         [&] {
             auto b = file;
             b.back() |= 0x80;
             return b;
         }()},
    };
    for (const auto& b : broken) {
        SCOPED_TRACE(b.what);
        EXPECT_THROW(DecodeMask(b.bytes), std::runtime_error);
    }
    EXPECT_THROW(MaskFromRaw(std::vector<std::uint8_t>(20, 1), 4, 4), std::runtime_error);
    EXPECT_THROW(MaskFromRaw(std::vector<std::uint8_t>(4, 3), 2, 2), std::runtime_error);
}

TEST(MapFeatureFiles, TakeWellFormedPlacesOnly) {
    TempDir dir;
    std::ofstream(dir / "lines.txt") << "21.0 56.5\n"  // before any header: a segment of its own
                                     << "> River Bin # 11904, Level 2\n"
                                     << "21.5\t56.0\n"
                                     << "nan 56.0\n"
                                     << "21.5 56.0 7\n"
                                     << "200 56.0\n"
                                     << "> Composite segment\n"
                                     << "20.8333333 54.0\n";
    const auto lines = ReadLines(dir / "lines.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].points.size(), 1u);
    EXPECT_EQ(lines[1].level, 2);
    ASSERT_EQ(lines[1].points.size(), 1u);
    EXPECT_NEAR(lines[1].points[0].x, 40 * 17.2, 1e-6);  // 40' east of the grid's edge
    EXPECT_NEAR(lines[1].points[0].y, 30 * 30.6, 1e-6);  // 30' south of it
    EXPECT_EQ(lines[2].level, 0);
    EXPECT_NEAR(lines[2].points[0].x, 0, 1e-4);

    std::ofstream(dir / "towns.tsv") << "54.68916\t25.27980\t542366\tLT\tVilnius\n"
                                     << "54.9\t23.9\tmany\tLT\tKaunas\n"
                                     << "inf\t23.9\t1\tLT\tNowhere\n"
                                     << "55.0\t24.0\t1500\tLT\tDvi Žodžiai\n";
    const auto towns = ReadTowns(dir / "towns.tsv");
    ASSERT_EQ(towns.size(), 2u);
    EXPECT_EQ(towns[0].population, 542366);
    EXPECT_EQ(towns[1].name, "Dvi Žodžiai");
    EXPECT_THROW(ReadTowns(dir / "missing.tsv"), IoError);
}

TEST(TownNames, KeepClearOfEverythingTheProgramDrawsOnASheet) {
    int argc = 1;
    char name[] = "mapdata_tests";
    char* argv[] = {name};
    QGuiApplication app(argc, argv);
    // The widest texts the program can write: a code of M and the locators of W subsquares.
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "SKVERAI");
    std::ofstream(dir / "KEMWWL.dat", std::ios::binary)
        << "M00 KO00WW KO00WW KO00WW KO00WW KO00WW KO00WW KO00WW KO00WW\r\n";
    QImage blue(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    ASSERT_TRUE(blue.save(QString::fromStdString(dir / "SKVERAI/M00.bmp"), "BMP"));

    maps::MapSheet sheet(Folder(dir));
    sheet.KEMSquare("M00");
    const std::vector<Box> marks = ProgramMarks();
    int drawn = 0;
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            if (sheet.Picture().pixelColor(x, y) != QColor(0, 0, 255)) {
                ++drawn;
                EXPECT_TRUE(InsideAny(marks, x, y)) << "(" << x << ", " << y << ")";
            }
        }
    }
    EXPECT_GT(drawn, 1000);

    // Names placed for dots all over a sheet stay on it, off those marks and off each other.
    LabelPlacer placer;
    std::vector<Box> names;
    for (int y = 0; y < kSheetHeight; y += 9) {
        for (int x = 0; x < kSheetWidth; x += 13) {
            const Box dot{x, y, x + 3, y + 3};
            placer.Keep(dot);
            const auto box = placer.Place(dot, 37, 12, [](const Box&) { return 0; });
            if (!box) {
                continue;
            }
            EXPECT_TRUE(box->left >= 1 && box->top >= 1 && box->right < kSheetWidth &&
                        box->bottom < kSheetHeight);
            EXPECT_FALSE(box->Overlaps(dot));
            for (const Box& other : marks) {
                EXPECT_FALSE(box->Overlaps(other));
            }
            for (const Box& other : names) {
                EXPECT_FALSE(box->Overlaps(other));
            }
            names.push_back(*box);
        }
    }
    EXPECT_GT(names.size(), 40u);
}

}  // namespace
}  // namespace kem::mapsheets
