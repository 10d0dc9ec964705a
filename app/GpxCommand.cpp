#include "app/GpxCommand.h"

#include <cstring>
#include <iostream>

#include "base/IoError.h"
#include "maps/GpxExport.h"

namespace kem {

std::optional<int> runGpxCommand(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--export-gpx") != 0) {
        return std::nullopt;
    }
    if (argc != 4) {
        std::cerr << "Naudojimas: KEMGPS --export-gpx ŽURNALAS GPX_FAILAS\n";
        return 2;
    }
    try {
        const maps::GpxExportCount count = maps::exportLogFile(argv[2], argv[3]);
        std::cout << maps::exportSummary(count) << "\n";
        return 0;
    } catch (const IoError& e) {
        std::cerr << "KEMGPS: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace kem
