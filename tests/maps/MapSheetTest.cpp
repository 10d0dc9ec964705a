// The map sheet picture: where the grid, the title, the locators and the mark are drawn, checked
// at their edges (first and last pixel inside, first pixel outside).
#include "maps/MapSheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace kem::maps
