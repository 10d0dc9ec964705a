#include "tools/mapsheets/MapSheetMaker.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "archive/TZip.h"
#include "packer/MapPacker.h"
#include "tools/mapsheets/PaletteBitmap.h"
#include "tools/mapsheets/SheetGrid.h"
#include "tools/mapsheets/TownLabels.h"

namespace kem::mapsheets {
namespace {

namespace fs = std::filesystem;

// Towns from this size on get a bigger dot and a bold name.
constexpr int kMajorTown = 20000;

struct TownOnSheet {
    const Town* town;
    int sheet;  // row * kColumns + column
    Box dot;    // in the sheet's pixels
};

int Floor(double value) {
    return static_cast<int>(std::floor(value));
}

void MoveFile(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) {  // another file system
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
        fs::remove(from);
    }
}

}  // namespace

MapExtracts ReadExtracts(const std::string& folder) {
    MapExtracts extracts;
    extracts.mask = DecodeMask(ReadFileBytes(folder + "landmask.rle"));
    extracts.rivers = ReadLines(folder + "rivers.txt");
    extracts.borders = ReadLines(folder + "borders.txt");
    extracts.towns = ReadTowns(folder + "towns.tsv");
    std::stable_sort(extracts.towns.begin(), extracts.towns.end(),
                     [](const Town& a, const Town& b) { return a.population > b.population; });
    return extracts;
}

MapPicture RenderMap(const MapExtracts& extracts, const TextRasterizer& text,
                     RenderCounts* counts) {
    if (extracts.mask.width != kGridWidth || extracts.mask.height != kGridHeight) {
        throw std::runtime_error("land mask: not the size of the grid");
    }
    MapPicture map(extracts.mask);
    for (const Polyline& river : extracts.rivers) {
        map.DrawRiver(river);
    }
    for (const Polyline& border : extracts.borders) {
        map.DrawBorder(border);
    }

    // Every dot first, so that no name covers the dot of a smaller town.
    std::vector<TownOnSheet> towns;
    std::vector<LabelPlacer> placers(kRows * kColumns);
    for (const Town& town : extracts.towns) {
        const int x = Floor(town.place.x);
        const int y = Floor(town.place.y);
        if (x < 0 || y < 0 || x >= kGridWidth || y >= kGridHeight) {
            continue;
        }
        const int size = town.population >= kMajorTown ? 5 : 3;
        map.DrawDot(town.place, size);
        const int left = x % kSheetWidth - (size - 1) / 2;
        const int top = y % kSheetHeight - (size - 1) / 2;
        const TownOnSheet placed{&town,
                                 y / kSheetHeight * kColumns + x / kSheetWidth,
                                 {left, top, left + size, top + size}};
        placers[placed.sheet].Keep(placed.dot);
        towns.push_back(placed);
    }
    int named = 0;
    for (const TownOnSheet& placed : towns) {
        const int left = placed.sheet % kColumns * kSheetWidth;
        const int top = placed.sheet / kColumns * kSheetHeight;
        // Names go where they hide the fewest pixels of water, shores, lines and dots.
        const auto hidden = [&](const Box& box) {
            int count = 0;
            for (int y = box.top; y < box.bottom; ++y) {
                for (int x = box.left; x < box.right; ++x) {
                    count += map.At(left + x, top + y) != kLand;
                }
            }
            return count;
        };
        const TextImage name = text(placed.town->name, placed.town->population >= kMajorTown);
        const auto box = placers[placed.sheet].Place(placed.dot, name.width, name.height, hidden);
        if (box) {
            map.DrawText(name, left + box->left, top + box->top);
            ++named;
        }
    }
    if (counts) {
        *counts = {static_cast<int>(towns.size()), named};
    }
    return map;
}

void PackSheets(const MapPicture& map, const std::string& staging, const std::string& mapDir) {
    fs::remove_all(staging);
    fs::create_directories(staging);
    fs::create_directories(mapDir);
    const std::string stagingDir = (fs::path(staging) / "").string();
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            WriteFileBytes(stagingDir + SheetCode(row, column) + ".bmp",
                           PaletteBitmap(kSheetWidth, kSheetHeight, map.Sheet(row, column)));
        }
    }
    archive::TZip zip;
    zip.SetOverwrite(true);
    std::string reports;
    zip.OnError = [&](archive::ZipComponent&, const std::string& text) { reports += text + "\n"; };
    packer::PackAll(stagingDir, zip);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const std::string name = packer::ArchiveNameFor(SheetCode(row, column) + ".bmp");
            if (!fs::exists(stagingDir + name)) {
                throw std::runtime_error("no archive " + name + " made\n" + reports);
            }
            MoveFile(stagingDir + name, fs::path(mapDir) / name);
        }
    }
    fs::remove_all(staging);
}

}  // namespace kem::mapsheets
