// MakeMapSheets: the build's map sheet generator.
//   MakeMapSheets EXTRACTS STAGING MAPDIR   renders all sheets from the extracts in EXTRACTS and
//                                          packs each into MAPDIR/<code>.z (bitmaps go through
//                                          STAGING and are removed)
//   MakeMapSheets --encode-mask RAW WIDTH HEIGHT OUT   packs GMT's raw land mask (make mapdata)
//   MakeMapSheets --overview EXTRACTS OUTDIR   the country's outline over the whole grid
//                                              (OUTDIR/overview.png) and its squares with land
//                                              (OUTDIR/country-squares.txt)
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "tools/mapsheets/CountryOutline.h"
#include "tools/mapsheets/MapSheetMaker.h"
#include "tools/mapsheets/QtTownNames.h"

namespace {

using namespace kem::mapsheets;

int EncodeMaskFile(char** argv) {
    const LandMask mask =
        MaskFromRaw(ReadFileBytes(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    WriteFileBytes(argv[5], EncodeMask(mask));
    return 0;
}

// One overview pixel for 8 x 8 sheet pixels: 860 x 612, the squares 21.5 x 38.25 pixels.
constexpr int kOverviewScale = 8;

int MakeOverview(char** argv) {
    const std::string extracts = std::string(argv[2]) + "/";
    const std::string out = std::string(argv[3]) + "/";
    const LandMask mask = DecodeMask(ReadFileBytes(extracts + "landmask.rle"));
    const std::vector<Polyline> borders = CompletedBorders(ReadLines(extracts + "borders.txt"));
    const std::vector<std::uint8_t> country = CountryLand(mask, borders, kCountrySeeds);
    const std::vector<bool> squares = SquaresWithLand(country);
    const Overview view = RenderOverview(mask, country, borders, kOverviewScale);

    QImage image(view.width, view.height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(190, 215, 240), qRgb(100, 150, 200), qRgb(252, 250, 238),
                         qRgb(222, 222, 222), qRgb(160, 32, 160)});
    for (int y = 0; y < view.height; ++y) {
        std::copy_n(view.pixels.begin() + static_cast<std::ptrdiff_t>(y) * view.width, view.width,
                    image.scanLine(y));
    }
    if (!image.save(QString::fromStdString(out + "overview.png"), "PNG")) {
        throw std::runtime_error("cannot write " + out + "overview.png");
    }
    const std::string list = SquareListText(squares);
    WriteFileBytes(out + "country-squares.txt",
                   {reinterpret_cast<const std::uint8_t*>(list.data()), list.size()});
    std::cout << "MakeMapSheets: overview " << view.width << " x " << view.height << ", "
              << std::count(squares.begin(), squares.end(), true) << " squares with land\n";
    return 0;
}

int MakeSheets(int argc, char** argv) {
    // Names are drawn off screen; the build has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const std::string extracts = std::string(argv[1]) + "/";
    RenderCounts counts;
    const MapPicture map = RenderMap(ReadExtracts(extracts), QtTownName, &counts);
    PackSheets(map, argv[2], argv[3]);
    std::cout << "MakeMapSheets: " << kRows * kColumns << " sheets, " << counts.named << " of "
              << counts.towns << " towns named\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 6 && std::string(argv[1]) == "--encode-mask") {
            return EncodeMaskFile(argv);
        }
        if (argc == 4 && std::string(argv[1]) == "--overview") {
            return MakeOverview(argv);
        }
        if (argc == 4) {
            return MakeSheets(argc, argv);
        }
        std::cerr << "usage: MakeMapSheets EXTRACTS STAGING MAPDIR\n"
                     "       MakeMapSheets --encode-mask RAW WIDTH HEIGHT OUT\n"
                     "       MakeMapSheets --overview EXTRACTS OUTDIR\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "MakeMapSheets: " << error.what() << "\n";
        return 1;
    }
}
