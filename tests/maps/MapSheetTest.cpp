// The map sheet picture: where the grid, the title, the locators and the mark are drawn, checked
// at their edges (first and last pixel inside, first pixel outside); which files and texts it
// takes.
#include "maps/MapSheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "archive/TZip.h"
#include "base/IoError.h"
#include "maps/MapMark.h"
#include "tests/support/TempFolderTest.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);

class MapSheetTest : public test::TempFolderTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "maps-test";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr) {
            new QApplication(argc, argv);
        }
    }

    MapSheetTest() {
        fs::create_directory(dir / "SKVERAI");
        fs::create_directory(dir / "EKSPEDICIJOS");
        std::ofstream(dir / "KEMWWL.dat", std::ios::binary)
            << "K26 KO24PQ KO24QQ KO24PP KO24QP KO24PO KO24QO KO24PN KO24QN\r\n";
        QImage blue(MapSheet::kWidth, MapSheet::kHeight, QImage::Format_RGB32);
        blue.fill(kBlue);
        blue.save(QString::fromStdString((dir / "SKVERAI/K26.bmp").string()), "BMP");
    }

    QColor pixel(int x, int y) const { return sheet.Picture().pixelColor(x, y); }

    MapSheet sheet{dir.string() + "/"};
};

TEST_F(MapSheetTest, GridLinesAreOnePixelWide) {
    sheet.KEMSquare("K26");
    for (const int y : {77, 153, 230}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(pixel(0, y), kGrey);
        EXPECT_EQ(pixel(171, y), kGrey);
        EXPECT_EQ(pixel(40, y - 1), kBlue);
        EXPECT_EQ(pixel(40, y + 1), kBlue);
    }
    EXPECT_EQ(pixel(86, 305), kGrey);
    EXPECT_EQ(pixel(85, 300), kBlue);
    EXPECT_EQ(pixel(87, 300), kBlue);
}

TEST_F(MapSheetTest, TitleAndLocatorBoxesStartAtTheirPlaces) {
    sheet.KEMSquare("K26");
    // Top-left corners of the title and of the eight locators' opaque white boxes.
    const QPoint places[] = {{62, 5},   {20, 40},   {110, 40}, {20, 110}, {110, 110},
                             {20, 185}, {110, 185}, {20, 265}, {110, 265}};
    for (const QPoint& p : places) {
        SCOPED_TRACE(testing::Message() << p.x() << "," << p.y());
        EXPECT_NE(pixel(p.x(), p.y()), kBlue);
        EXPECT_EQ(pixel(p.x() - 1, p.y() + 2), kBlue);
        EXPECT_EQ(pixel(p.x() + 2, p.y() - 1), kBlue);
    }
}

TEST_F(MapSheetTest, MarkFillsItsBoxOfTwiceTheRadius) {
    struct Case {
        int radius;
        int left, top, right, bottom;  // last pixels inside
    } const cases[] = {{3, 162, 269, 167, 274}, {1, 164, 271, 165, 272}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radius);
        sheet.KEMSquare("K26");
        sheet.SetRadius(c.radius);
        sheet.ToMap("5441.1234", "02519.5678");  // the centre (165, 272)
        const int midX = (c.left + c.right + 1) / 2;
        const int midY = (c.top + c.bottom + 1) / 2;
        EXPECT_EQ(pixel(c.left, midY), kRed);
        EXPECT_EQ(pixel(c.right, midY), kRed);
        EXPECT_EQ(pixel(c.left - 1, midY), kBlue);
        EXPECT_EQ(pixel(c.right + 1, midY), kBlue);
        EXPECT_EQ(pixel(midX, c.top), kRed);
        EXPECT_EQ(pixel(midX, c.bottom), kRed);
        EXPECT_EQ(pixel(midX, c.top - 1), kBlue);
        EXPECT_EQ(pixel(midX, c.bottom + 1), kBlue);
    }
}

TEST_F(MapSheetTest, ZeroRadiusDrawsNoMarkAndAHugeOneCoversTheSheet) {
    sheet.KEMSquare("K26");
    sheet.SetRadius(0);
    sheet.ToMap("5441.1234", "02519.5678");
    EXPECT_EQ(pixel(165, 272), kBlue);
    // A radius from a hand-edited settings file, around a garbled position far off the sheet.
    sheet.SetRadius(std::numeric_limits<int>::max());
    sheet.DrawMark(-kFarOff, kFarOff);
    EXPECT_EQ(pixel(0, 0), kRed);
    EXPECT_EQ(pixel(171, 305), kRed);
}

TEST_F(MapSheetTest, SheetFilesAreFoundWhateverTheirLetterCase) {
    QImage green(MapSheet::kWidth, MapSheet::kHeight, QImage::Format_RGB32);
    green.fill(QColor(0, 255, 0));
    ASSERT_TRUE(green.save(QString::fromStdString((dir / "SKVERAI/l30.bmp").string()), "BMP"));
    archive::TZip zip;
    zip.SetArcName((dir / "SKVERAI/L30.Z").string());
    zip.Files() = {(dir / "SKVERAI/l30.bmp").string()};
    ASSERT_TRUE(zip.Compress());
    fs::rename(dir / "SKVERAI/l30.bmp", dir / "SKVERAI/m12.BMP");

    sheet.KEMSquare("L30");  // unpacked from L30.Z into l30.bmp
    EXPECT_EQ(pixel(150, 300), QColor(0, 255, 0));
    EXPECT_TRUE(fs::exists(dir / "SKVERAI/l30.bmp"));
    sheet.KEMSquare("K26");
    sheet.KEMSquare("M12");
    EXPECT_EQ(pixel(150, 300), QColor(0, 255, 0));
}

TEST_F(MapSheetTest, DamagedSheetsAreNeitherShownNorKept) {
    const fs::path bitmap = dir / "SKVERAI/K26.bmp";
    const fs::path archive = dir / "SKVERAI/K26.z";
    const std::string blue = (dir / "blue.bmp").string();
    fs::copy_file(bitmap, blue);
    struct Case {
        const char* name;
        std::function<void()> damage;
    };
    const Case cases[] = {
        {"cut short", [&] { fs::resize_file(archive, fs::file_size(archive) / 2); }},
        {"declaring more than it holds",
         [&] {
             std::fstream file(archive, std::ios::binary | std::ios::in | std::ios::out);
             file.seekp(18);  // the local header's compressed size, little-endian
             file.put(0).put(0).put(0x10);
         }},
    };
    std::vector<std::string> reports;
    archive::ZipComponent::SetWarningBox([&](const std::string& text) { reports.push_back(text); });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::copy_file(blue, bitmap, fs::copy_options::overwrite_existing);
        archive::TZip zip;
        zip.SetArcName(archive.string());
        zip.SetOverwrite(true);
        zip.Files() = {bitmap.string()};
        ASSERT_TRUE(zip.Compress());
        fs::remove(bitmap);
        c.damage();
        reports.clear();
        sheet.KEMSquare("K26");
        EXPECT_FALSE(reports.empty());  // the warning box still tells
        EXPECT_EQ(pixel(150, 300), QColor(Qt::white));
        EXPECT_EQ(pixel(150, 20), QColor(Qt::white));
        EXPECT_EQ(pixel(10, 77), kGrey);
        EXPECT_FALSE(fs::exists(bitmap));
        EXPECT_TRUE(fs::exists(archive));
    }
    archive::ZipComponent::SetWarningBox({});

    // A bitmap cut short is refused wherever it lies: the picture stays as it was.
    fs::copy_file(blue, dir / "EKSPEDICIJOS/K26_0307.bmp");
    fs::resize_file(dir / "EKSPEDICIJOS/K26_0307.bmp", fs::file_size(blue) - 516);
    EXPECT_THROW(sheet.LoadPicture((dir / "EKSPEDICIJOS/K26_0307.bmp").string()), IoError);
    EXPECT_EQ(pixel(150, 300), QColor(Qt::white));
}

// Cell texts are Windows-1257: byte 0xE0 is "ą", whose mark hangs below the letter, not "à"
// with its mark above.
TEST_F(MapSheetTest, SheetTextsAreWindows1257) {
    std::ofstream(dir / "KEMWWL.dat", std::ios::binary) << "K28 \xE0\xE0\xE0\xE0\r\n"
                                                        << "K27 aaaa\r\n";
    sheet.KEMSquare("K27");
    const QImage plain = sheet.Picture();
    sheet.KEMSquare("K28");
    // Rows of the first cell's label (left of the title) where the "a"s have ink, and where the
    // two labels differ.
    int inkTop = 1000, inkBottom = -1, diffTop = 1000, diffBottom = -1;
    for (int y = 35; y < 75; ++y) {
        for (int x = 15; x < 60; ++x) {
            if (plain.pixelColor(x, y) != QColor(Qt::white)) {
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
            if (plain.pixelColor(x, y) != pixel(x, y)) {
                diffTop = std::min(diffTop, y);
                diffBottom = std::max(diffBottom, y);
            }
        }
    }
    ASSERT_LE(inkTop, inkBottom);
    EXPECT_GE(diffTop, inkTop);
    EXPECT_GT(diffBottom, inkBottom);
}

}  // namespace
}  // namespace kem::maps
