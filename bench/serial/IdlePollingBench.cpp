// CPU cost of a connected driver polling an idle port: ten seconds of a real event loop with
// the default 50 ms timer, measured with getrusage. Reported as the counter cpu_percent (of one
// core); it should stay well under 1.

#include "gps/TCommPortDriver.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& tv) { return tv.tv_sec + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void IdlePolling(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_serial";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    kem::gps::TCommPortDriver driver;
    driver.SetPortName(ptsname(master));
    std::uint64_t batches = 0;
    driver.OnReceiveData = [&](kem::gps::TCommPortDriver*, const char*, std::uint32_t) {
        ++batches;
    };
    if (!driver.Connect()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        close(master);
        return;
    }

    const auto window = std::chrono::milliseconds(state.range(0));
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const double cpuBegin = cpuSeconds();
        QTimer::singleShot(window, Qt::PreciseTimer, &app, &QCoreApplication::quit);
        app.exec();
        cpu += cpuSeconds() - cpuBegin;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    state.counters["cpu_percent"] = 100 * cpu / wall;
    state.counters["batches"] = static_cast<double>(batches);
    driver.Disconnect();
    close(master);
}

BENCHMARK(IdlePolling)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
