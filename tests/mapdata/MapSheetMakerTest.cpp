// The generator's own rules: the mask file, and room for town names that the program's grid
// and texts never cover.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "maps/MapSheet.h"
#include "tests/support/ArchiveFiles.h"
#include "tools/mapsheets/LandMask.h"
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
