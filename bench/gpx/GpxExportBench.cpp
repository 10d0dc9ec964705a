#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "maps/GpxExport.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 500'000;

// A long expedition's log: a line every 15 s drifting north-east across several squares, over
// several days, every 1000th line damaged; saved maps for three squares along the way.
fs::path MakeExpedition() {
    const fs::path folder = fs::temp_directory_path() / "kem-gpx-bench";
    fs::create_directories(folder);
    std::ofstream log(folder / "Log.txt", std::ios::binary);
    char line[160];
    for (int i = 0; i < kLines; ++i) {
        const int second = i * 15;
        const int day = 1 + second / 86400 % 28;
        const int seconds = i % 50;  // arc-seconds
        const int minutes = i / 50 % 60;
        const int n = std::snprintf(line, sizeof line,
                                    "2026.07.%02d  %02d:%02d:%02d UTC\t54\xB0%02d' %02d\" "
                                    "N\t25\xB0%02d' %02d\" E\t%d,%d m\t"
                                    "28,1 m\r\n",
                                    day, second / 3600 % 24, second / 60 % 60, second % 60, minutes,
                                    seconds, minutes, seconds, 100 + i % 50, i % 10);
        log.write(line, n);
        if (i % 1000 == 999) {
            log << "damaged\t\r\n";
        }
    }
    for (const char* map : {"K26_0701.bmp", "J27_0702.bmp", "K27_0703.bmp"}) {
        std::ofstream(folder / map) << "BM";
    }
    return folder;
}

void BM_ExportLog(benchmark::State& state) {
    const fs::path folder = MakeExpedition();
    const std::string log = (folder / "Log.txt").string();
    const std::string gpx = (folder / "out.gpx").string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kem::maps::exportLogFile(log, gpx));
    }
    state.counters["lines"] = kLines;
    state.counters["gpx_MB"] = static_cast<double>(fs::file_size(gpx)) / 1e6;
    fs::remove_all(folder);
}
BENCHMARK(BM_ExportLog)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
