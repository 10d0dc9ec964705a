// What making the position step's writes durable costs: a log line (once per fix) and a saved
// map (once per square), each beside a plain write of the same bytes that is not synced. Run it
// on the disk the program folder lies on (KEM_BENCH_DIR, default the current folder).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/WholeFile.h"

namespace {

namespace fs = std::filesystem;

const std::string kLine =
    "2026.12.08  12:00:00 UTC\t54\xB0 41' 07\" N\t25\xB0 19' 33\" E\t120,5 m\t25,1 m\r\n";
constexpr std::size_t kMapBytes = 172 * 306 * 3 + 54;  // a saved sheet

fs::path benchFolder(const char* name) {
    const char* chosen = std::getenv("KEM_BENCH_DIR");
    const fs::path folder = fs::path(chosen != nullptr ? chosen : ".") / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// The same bytes written without a sync, a temporary name or a cut-back.
void plainWrite(const std::string& path, const std::string& data, int flags) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | flags, 0666);
    benchmark::DoNotOptimize(::write(fd, data.data(), data.size()));
    ::close(fd);
}

void BM_LogLine(benchmark::State& state) {
    const fs::path folder = benchFolder("kem-bench-log");
    const std::string log = (folder / "Log.txt").string();
    kem::CreateWhole(log, "");
    for (auto _ : state) {
        if (state.range(0) != 0) {
            kem::AppendWhole(log, kLine);
        } else {
            plainWrite(log, kLine, O_APPEND);
        }
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_LogLine)->ArgName("synced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SavedMap(benchmark::State& state) {
    const fs::path folder = benchFolder("kem-bench-maps");
    const std::string bytes(kMapBytes, 'M');
    int n = 0;
    for (auto _ : state) {
        const std::string name = (folder / ("K26_" + std::to_string(++n) + ".bmp")).string();
        if (state.range(0) != 0) {
            kem::CreateWhole(name, bytes);
        } else {
            plainWrite(name, bytes, O_CREAT | O_EXCL);
        }
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_SavedMap)->ArgName("synced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
