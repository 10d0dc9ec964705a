// The map sheets the build puts into the program folder: every square's archive unpacks, with
// our extractor and with Info-ZIP's, to a 172 x 306 bitmap whose pixels lie where the program's
// own arithmetic puts their coordinates, and neighbouring sheets meet without a seam.
#include <gtest/gtest.h>
#include <QImage>
#include <filesystem>
#include <map>
#include <memory>

#include "archive/TUnZip.h"
#include "maps/Locator.h"
#include "maps/MapMark.h"
#include "tests/support/ArchiveFiles.h"
#include "tools/mapsheets/MapPicture.h"
#include "tools/mapsheets/SheetGrid.h"

namespace kem::mapsheets {
namespace {

using archive::test::Folder;
using archive::test::TempDir;

const std::string kMapDir = std::string(KEM_PROGRAM_DIR) + "/SKVERAI/";

// The ink of a pixel by its colour; -1 for a colour not in the palette.
int InkAt(const QImage& sheet, int x, int y) {
    const QColor colour = sheet.pixelColor(x, y);
    for (int ink = 0; ink < kInkCount; ++ink) {
        if (colour == QColor(kPalette[ink].r, kPalette[ink].g, kPalette[ink].b)) {
            return ink;
        }
    }
    return -1;
}

bool IsWater(int ink) {
    return ink == kWater || ink == kShore;
}

class ShippedSheets : public ::testing::Test {
protected:
    // All sheets, unpacked once with the program's extractor.
    static void SetUpTestSuite() {
        s_unpacked = std::make_unique<TempDir>();
        archive::TUnZip unzip;
        unzip.OnError = [](archive::ZipComponent&, const std::string& text) {
            ADD_FAILURE() << text;
        };
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const std::string code = SheetCode(row, column);
                unzip.SetArcName(kMapDir + code + ".z");
                unzip.SetExtrPath(Folder(*s_unpacked));
                EXPECT_TRUE(unzip.Extract()) << code;
                s_sheets[code].load(QString::fromStdString(*s_unpacked / (code + ".bmp")), "BMP");
            }
        }
    }
    static void TearDownTestSuite() {
        s_sheets.clear();
        s_unpacked.reset();
    }

    static const QImage& Sheet(int row, int column) { return s_sheets[SheetCode(row, column)]; }

    static std::unique_ptr<TempDir> s_unpacked;
    static std::map<std::string, QImage> s_sheets;
};

std::unique_ptr<TempDir> ShippedSheets::s_unpacked;
std::map<std::string, QImage> ShippedSheets::s_sheets;

TEST_F(ShippedSheets, EverySquareHasAnArchiveOfOneShrunkSheet) {
    ASSERT_EQ(s_sheets.size(), 640u);
    for (const auto& [code, sheet] : s_sheets) {
        SCOPED_TRACE(code);
        const auto archive = archive::test::ParseArchive(kMapDir + code + ".z");
        ASSERT_EQ(archive.entries.size(), 1u);
        EXPECT_EQ(archive.entries[0].name, code + ".bmp");
        EXPECT_EQ(archive.entries[0].local.method, 1);
        EXPECT_EQ(sheet.size(), QSize(kSheetWidth, kSheetHeight));
        EXPECT_EQ(sheet.format(), QImage::Format_Indexed8);
    }
}

TEST_F(ShippedSheets, InfoZipUnpacksTheSameBitmaps) {
    if (!archive::test::ToolAvailable("unzip")) {
        GTEST_SKIP() << "Info-ZIP unzip is not installed";
    }
    TempDir other;
    // unzip expands the quoted wildcard itself: one run for all archives.
    const auto result = archive::test::Run("unzip -qq -o " + archive::test::Quote(kMapDir) +
                                           "'*.z' -d " + archive::test::Quote(Folder(other)));
    ASSERT_EQ(result.status, 0) << result.output;
    for (const auto& [code, sheet] : s_sheets) {
        SCOPED_TRACE(code);
        EXPECT_EQ(archive::test::ReadFile(other / (code + ".bmp")),
                  archive::test::ReadFile(*s_unpacked / (code + ".bmp")));
    }
}

TEST_F(ShippedSheets, PlacesLieAtThePixelsTheirCoordinatesGive) {
    struct Place {
        const char* what;
        const char* latRaw;
        const char* longRaw;
        const char* square;  // empty: whatever the program computes
        bool water;
        bool town = false;
    };
    const Place places[] = {
        {"Klaipeda strait", "5542.3000", "02107.3000", "E01", true},
        {"Curonian Spit west of the strait", "5542.3000", "02106.5000", "E01", false},
        {"mainland east of the strait", "5541.4000", "02109.6000", "E01", false},
        {"Curonian Lagoon", "5518.0000", "02109.0000", "", true},
        {"Baltic Sea off Palanga", "5555.0000", "02055.0000", "", true},
        {"lake Druksiai", "5537.2000", "02636.0000", "", true},
        {"Vilnius centre", "5441.3496", "02516.7880", "K26", false, true},
        {"Kaunas", "5454.1632", "02354.5766", "", false, true},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.what);
        const std::string code = maps::CalcKEM(place.latRaw, place.longRaw, '.');
        if (*place.square) {
            EXPECT_EQ(code, place.square);
        }
        const QImage& sheet = s_sheets[code];
        ASSERT_FALSE(sheet.isNull()) << code;
        // The program's mark centre is a pixel corner: the four pixels around it.
        const maps::MarkCentre mark = maps::markCentre(place.latRaw, place.longRaw, '.');
        for (const int y : {mark.y - 1, mark.y}) {
            for (const int x : {mark.x - 1, mark.x}) {
                const int ink = InkAt(sheet, x, y);
                EXPECT_EQ(IsWater(ink), place.water) << code << " (" << x << ", " << y << ")";
                if (place.town) {
                    EXPECT_EQ(ink, kTown) << code << " (" << x << ", " << y << ")";
                }
            }
        }
    }
}

TEST_F(ShippedSheets, BordersAreDashed) {
    // A10: the Lithuanian-Latvian border runs across it over land.
    const QImage& sheet = s_sheets["A10"];
    std::vector<int> piece(kSheetWidth * kSheetHeight, 0);
    int pixels = 0;
    int pieces = 0;
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            if (InkAt(sheet, x, y) != kBorder || piece[y * kSheetWidth + x] != 0) {
                continue;
            }
            ++pieces;
            std::vector<std::pair<int, int>> open{{x, y}};
            piece[y * kSheetWidth + x] = pieces;
            while (!open.empty()) {
                const auto [px, py] = open.back();
                open.pop_back();
                ++pixels;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx;
                        const int ny = py + dy;
                        if (nx >= 0 && ny >= 0 && nx < kSheetWidth && ny < kSheetHeight &&
                            piece[ny * kSheetWidth + nx] == 0 && InkAt(sheet, nx, ny) == kBorder) {
                            piece[ny * kSheetWidth + nx] = pieces;
                            open.push_back({nx, ny});
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(pixels, 100);
    EXPECT_GT(pieces, 10) << "a solid line, not dashes";
    EXPECT_LT(pixels / pieces, 16) << "dashes too long";
}

TEST_F(ShippedSheets, NeighbouringSheetsMeetWithoutASeam) {
    // Where a shore or a river meets a sheet edge at a slant, the pixels on either side may
    // differ; a sheet shifted, flipped or cut from the wrong place gives many more differences.
    int edgePixels = 0;
    int landWaterDiffers = 0;
    int riverPixels = 0;
    int riversGoOn = 0;
    const auto compare = [&](const std::vector<int>& a, const std::vector<int>& b) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            ++edgePixels;
            landWaterDiffers += IsWater(a[i]) != IsWater(b[i]);
            for (const auto& [mine, theirs] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
                if ((*mine)[i] != kRiver) {
                    continue;
                }
                ++riverPixels;
                // The river, a dot over it or the water it runs into, within two pixels.
                for (std::size_t j = i < 2 ? 0 : i - 2; j <= i + 2 && j < a.size(); ++j) {
                    const int ink = (*theirs)[j];
                    if (ink == kRiver || ink == kTown || IsWater(ink)) {
                        ++riversGoOn;
                        break;
                    }
                }
            }
        }
    };
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QImage& sheet = Sheet(row, column);
            if (column + 1 < kColumns) {
                const QImage& east = Sheet(row, column + 1);
                std::vector<int> a, b;
                for (int y = 0; y < kSheetHeight; ++y) {
                    a.push_back(InkAt(sheet, kSheetWidth - 1, y));
                    b.push_back(InkAt(east, 0, y));
                }
                compare(a, b);
            }
            if (row + 1 < kRows) {
                const QImage& south = Sheet(row + 1, column);
                std::vector<int> a, b;
                for (int x = 0; x < kSheetWidth; ++x) {
                    a.push_back(InkAt(sheet, x, kSheetHeight - 1));
                    b.push_back(InkAt(south, x, 0));
                }
                compare(a, b);
            }
        }
    }
    EXPECT_LT(landWaterDiffers, edgePixels / 1000);
    ASSERT_GT(riverPixels, 100);
    EXPECT_GT(riversGoOn, riverPixels * 85 / 100);
}

}  // namespace
}  // namespace kem::mapsheets
