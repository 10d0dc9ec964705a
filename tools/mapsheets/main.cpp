// MakeMapSheets: the build's map sheet generator.
//   MakeMapSheets EXTRACTS STAGING MAPDIR   renders all sheets from the extracts in EXTRACTS and
//                                          packs each into MAPDIR/<code>.z (bitmaps go through
//                                          STAGING and are removed)
//   MakeMapSheets --encode-mask RAW WIDTH HEIGHT OUT   packs GMT's raw land mask (make mapdata)
#include <QGuiApplication>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

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
        if (argc == 4) {
            return MakeSheets(argc, argv);
        }
        std::cerr << "usage: MakeMapSheets EXTRACTS STAGING MAPDIR\n"
                     "       MakeMapSheets --encode-mask RAW WIDTH HEIGHT OUT\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "MakeMapSheets: " << error.what() << "\n";
        return 1;
    }
}
