// The square overview: the history built from a 500,000-line measurement log (first use), the
// history and the window opened later, and what the history adds to a position step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "maps/SquareVisits.h"
#include "maps/TFormSquares.h"

namespace {

namespace fs = std::filesystem;
using kem::maps::SquareVisits;

constexpr int kLogLines = 500000;

// A folder with a log of kLogLines lines: a drive to and fro across the whole grid, one line
// a second, as the main window writes them.
const std::string& logFolder() {
    static const std::string folder = [] {
        const fs::path dir =
            fs::temp_directory_path() / ("kem-squares-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::ofstream log(dir / "Log.txt", std::ios::binary);
        char line[160];
        for (int i = 0; i < kLogLines; ++i) {
            const double t = (i % 20000) / 20000.0;
            const double lat = 53.9 + 2.55 * t,
                         lon = 20.9 + 6.5 * ((i / 20000) % 25) / 25.0 + 0.2 * t;
            const int s = i % 86400;
            const int latMin = static_cast<int>((lat - int(lat)) * 60),
                      lonMin = static_cast<int>((lon - int(lon)) * 60);
            std::snprintf(
                line, sizeof line,
                "2026.%02d.%02d  %02d:%02d:%02d UTC\t%d\xB0%02d' %02d\" N\t%d\xB0%02d' %02d\" E\t"
                "120,5 m\t22,1 m\r\n",
                1 + i / 86400 % 12, 1 + i / 86400 % 28, s / 3600, s / 60 % 60, s % 60, int(lat),
                latMin, i % 60, int(lon), lonMin, (i * 7) % 60);
            log << line;
        }
        std::atexit([] {
            std::error_code error;
            fs::remove_all(logFolder(), error);
        });
        return dir.string() + "/";
    }();
    return folder;
}

void BM_BuildFromLog(benchmark::State& state) {
    const std::string folder = logFolder();
    for (auto _ : state) {
        fs::remove(folder + SquareVisits::kFileName);
        SquareVisits visits(folder);
        visits.Open();
        state.counters["squares"] = visits.History().VisitedCount();
    }
    state.counters["log_lines"] = kLogLines;
}
BENCHMARK(BM_BuildFromLog)->Unit(benchmark::kMillisecond)->Iterations(3);

QApplication& application() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// The history read back and the window made, shown and painted once.
void BM_OpenWindowLater(benchmark::State& state) {
    application();
    const std::string folder = logFolder();
    SquareVisits(folder).Open();
    for (auto _ : state) {
        SquareVisits visits(folder);
        kem::TFormSquares window(visits, folder + "none.dat", [](const std::string&) {});
        window.show();
        QImage picture(window.size(), QImage::Format_RGB32);
        window.render(&picture);
        benchmark::DoNotOptimize(picture.bits());
    }
}
BENCHMARK(BM_OpenWindowLater)->Unit(benchmark::kMillisecond);

// Steps within one square: the history in memory only.
void BM_StepSameSquare(benchmark::State& state) {
    SquareVisits visits(logFolder());
    visits.Open();
    std::int64_t now = 1765200000;
    for (auto _ : state) {
        visits.Step({54.6853f, 25.3258f}, ++now);
    }
}
BENCHMARK(BM_StepSameSquare)->Unit(benchmark::kMicrosecond);

// Every step in another square: each writes the whole file (to disk, synced, renamed).
void BM_StepNewSquare(benchmark::State& state) {
    SquareVisits visits(logFolder());
    visits.Open();
    std::int64_t now = 1765200000;
    bool east = false;
    for (auto _ : state) {
        east = !east;
        visits.Step({54.6853f, east ? 25.4f : 25.3258f}, ++now);
    }
}
BENCHMARK(BM_StepNewSquare)->Unit(benchmark::kMicrosecond);

// The live repaint that follows a step while the window is open.
void BM_RepaintAfterStep(benchmark::State& state) {
    application();
    SquareVisits visits(logFolder());
    visits.Open();
    kem::TFormSquares window(visits, logFolder() + "none.dat", [](const std::string&) {});
    window.show();
    QImage picture(window.size(), QImage::Format_RGB32);
    std::int64_t now = 1765200000;
    for (auto _ : state) {
        visits.Step({54.6853f, 25.3258f}, ++now);
        window.Refresh();
        window.render(&picture);
    }
}
BENCHMARK(BM_RepaintAfterStep)->Unit(benchmark::kMicrosecond);

}  // namespace
