// The shipped map sheets: generating and packing all 640 as the build does, what they weigh
// packed by our Shrink next to zip -9 (deflate), and one position step into a square whose sheet
// exists only packed (unpack, draw, mark).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "archive/TUnZip.h"
#include "maps/Locator.h"
#include "maps/MapSheet.h"
#include "tests/support/ArchiveFiles.h"
#include "tools/mapsheets/SheetGrid.h"

namespace kem::mapsheets {
namespace {

namespace fs = std::filesystem;
using archive::test::Folder;
using archive::test::Quote;
using archive::test::TempDir;

const std::string kProgramMaps = std::string(KEM_PROGRAM_DIR) + "/SKVERAI/";

// Sum of the compressed sizes of the entries of the archives.
double CompressedBytes(const std::vector<std::string>& archives) {
    double bytes = 0;
    for (const std::string& path : archives) {
        for (const auto& entry : archive::test::ParseArchive(path).entries) {
            bytes += entry.local.compressedSize;
        }
    }
    return bytes;
}

double ChildCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The build's own command: render every sheet and pack each into its archive.
void BM_MakeAllSheets(benchmark::State& state) {
    TempDir dir;
    const std::string maps = Folder(dir) + "SKVERAI/";
    const std::string command = Quote(KEM_MAKE_MAP_SHEETS) + " " + Quote(KEM_MAP_DATA) + " " +
                                Quote(Folder(dir) + "staging") + " " + Quote(maps) +
                                " >/dev/null 2>&1";
    // The machine may be shared: the program's own processor time is reported beside.
    const double cpuBefore = ChildCpuSeconds();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("MakeMapSheets failed");
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["cpu_s"] =
        (ChildCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());

    // Sizes: the archives as shipped, and the same bitmaps in one zip -9 archive.
    std::vector<std::string> archives;
    double archiveBytes = 0;
    archive::TUnZip unzip;
    unzip.SetExtrPath(Folder(dir) + "bitmaps");
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            archives.push_back(maps + SheetCode(row, column) + ".z");
            archiveBytes += static_cast<double>(fs::file_size(archives.back()));
            unzip.SetArcName(archives.back());
            unzip.Extract();
        }
    }
    double bitmapBytes = 0;
    for (const auto& entry : fs::directory_iterator(Folder(dir) + "bitmaps")) {
        bitmapBytes += static_cast<double>(entry.file_size());
    }
    state.counters["archives_kB"] = archiveBytes / 1024;
    state.counters["bitmaps_kB"] = bitmapBytes / 1024;
    state.counters["shrink_pct"] = 100 * CompressedBytes(archives) / bitmapBytes;
    // unzip -v ends with the totals: original bytes, compressed bytes, ...
    const auto listing = archive::test::Run("cd " + Quote(Folder(dir) + "bitmaps") +
                                            " && zip -9 -q all.zip *.bmp && unzip -v all.zip");
    const std::size_t totals = listing.output.rfind('\n', listing.output.size() - 2);
    double original = 0;
    double deflated = 0;
    if (listing.status == 0 &&
        std::sscanf(listing.output.c_str() + totals + 1, "%lf %lf", &original, &deflated) == 2) {
        state.counters["deflate9_pct"] = 100 * deflated / original;
    }
}
BENCHMARK(BM_MakeAllSheets)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// A drive along squares whose sheets lie only packed in the map folder: each step unpacks the
// new square's bitmap, draws the sheet and marks the position.
void BM_PositionStepIntoPackedSquare(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);

    TempDir dir;
    fs::create_directory(dir.Path() / "SKVERAI");
    fs::copy_file(std::string(KEM_PROGRAM_DIR) + "/KEMWWL.dat", dir / "KEMWWL.dat");
    // Coastal and inland squares, with a position inside each.
    const std::pair<const char*, const char*> positions[] = {
        {"5542.3000", "02107.3000"}, {"5518.0000", "02109.0000"}, {"5541.3496", "02516.7880"},
        {"5454.1632", "02354.5766"}, {"5537.2000", "02636.0000"}, {"5555.0000", "02055.0000"},
    };
    std::vector<std::string> codes;
    for (const auto& [lat, lon] : positions) {
        codes.push_back(maps::CalcKEM(lat, lon, '.'));
        fs::copy_file(kProgramMaps + codes.back() + ".z", dir / ("SKVERAI/" + codes.back() + ".z"));
    }
    maps::MapSheet sheet(Folder(dir));
    std::size_t step = 0;
    for (auto _ : state) {
        const auto& [lat, lon] = positions[step % std::size(positions)];
        state.PauseTiming();
        fs::remove(dir / ("SKVERAI/" + codes[step % codes.size()] + ".bmp"));
        state.ResumeTiming();
        sheet.KEMSquare(maps::CalcKEM(lat, lon, '.'));
        sheet.ToMap(lat, lon);
        ++step;
    }
}
BENCHMARK(BM_PositionStepIntoPackedSquare)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kem::mapsheets
