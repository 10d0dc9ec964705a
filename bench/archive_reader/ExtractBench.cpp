// Extraction throughput of shrunk, reduced and imploded archives of about 1 MB, and the same
// archives through Debian's `unzip -p` (which decodes shrink and implode but not reduce).
// Wall-clock time throughout, since unzip runs as a child process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <map>

#include "archive/ShrinkEncoder.h"
#include "tests/support/ReaderTestSupport.h"

namespace kem::archive::testing {
namespace {

const std::string kVectors = std::string(KEM_TEST_DATA) + "/zip-vectors/";
constexpr int kCopies = 9;  // 9 x (words.txt + image.bmp) = 1.09 MB

// CPU seconds (user + system) used so far by this process or by its finished children.
double CpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall-clock time suffers when the machine is busy; the CPU time per run, ours or unzip's,
// compares fairly.
void ReportCpu(benchmark::State& state, double cpuSeconds) {
    state.counters["cpu_ms_per_run"] = cpuSeconds * 1000 / static_cast<double>(state.iterations());
}

enum class Kind { ShrinkOneEntry, Shrink, Reduce, Implode };

struct BenchArchive {
    std::string path;
    std::uint64_t size = 0;  // uncompressed bytes
};

// The archives, made once in a scratch directory.
class Archives {
public:
    static Archives& Get() {
        static Archives archives;
        return archives;
    }
    const BenchArchive& Of(Kind kind) { return m_archives.at(kind); }
    std::string OutDir() const { return m_dir / "out"; }

private:
    Archives() {
        m_archives[Kind::Shrink] = Repeat("hw-shrink.zip", "shrink.zip");
        m_archives[Kind::Reduce] = Repeat("hw-reduce4.zip", "reduce.zip");
        m_archives[Kind::Implode] = Repeat("hw-implode-8k3t.zip", "implode.zip");

        // One entry of 1 MiB shrunk by the project's own compressor.
        const Bytes words = ReadFile(kVectors + "plain/words.txt");
        const Bytes image = ReadFile(kVectors + "plain/image.bmp");
        Bytes big;
        while (big.size() < (1u << 20)) {
            big.insert(big.end(), words.begin(), words.end());
            big.insert(big.end(), image.begin(), image.end());
        }
        big.resize(1u << 20);
        Entry e = Entry::Stored("big.bin", big);
        e.method = 1;
        e.data = ShrinkEncoder::ShrinkAll(big);
        m_archives[Kind::ShrinkOneEntry] = Write("shrink-1m.zip", {e});
    }

    // words.txt and image.bmp of a vector archive, kCopies times under distinct names.
    BenchArchive Repeat(const std::string& vector, const std::string& name) {
        std::vector<Entry> picked;
        for (const Entry& e : ReadEntries(ReadFile(kVectors + vector))) {
            if (e.name == "words.txt" || e.name == "image.bmp") {
                picked.push_back(e);
            }
        }
        std::vector<Entry> entries;
        for (int copy = 0; copy < kCopies; ++copy) {
            for (Entry e : picked) {
                e.name = std::to_string(copy) + e.name;
                entries.push_back(e);
            }
        }
        return Write(name, entries);
    }

    BenchArchive Write(const std::string& name, const std::vector<Entry>& entries) {
        BenchArchive a{m_dir / name, 0};
        for (const Entry& e : entries) {
            a.size += e.size;
        }
        WriteFile(a.path, MakeArchive(entries));
        return a;
    }

    TempDir m_dir;
    std::map<Kind, BenchArchive> m_archives;
};

void Extract(benchmark::State& state, Kind kind) {
    Archives& archives = Archives::Get();
    const BenchArchive& a = archives.Of(kind);
    TUnZip unzip;
    unzip.SetArcName(a.path);
    unzip.SetExtrPath(archives.OutDir());
    std::size_t reports = 0;
    unzip.OnError = [&](ZipComponent&, const std::string&) { ++reports; };
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    for (auto _ : state) {
        benchmark::DoNotOptimize(unzip.Extract());
    }
    ReportCpu(state, CpuSeconds(RUSAGE_SELF) - cpuBefore);
    if (reports != 0) {
        state.SkipWithError("the archive extracted with reports");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * a.size));
}

// Debian's unzip, writing to /dev/null; includes starting the process (about a millisecond).
void UnzipPipe(benchmark::State& state, Kind kind) {
    const BenchArchive& a = Archives::Get().Of(kind);
    const std::string command = "unzip -p -qq '" + a.path + "' > /dev/null";
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("unzip failed or is missing");
            break;
        }
    }
    ReportCpu(state, CpuSeconds(RUSAGE_CHILDREN) - cpuBefore);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * a.size));
}

BENCHMARK_CAPTURE(Extract, shrink_one_1MiB_entry, Kind::ShrinkOneEntry)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(UnzipPipe, shrink_one_1MiB_entry, Kind::ShrinkOneEntry)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Extract, shrink, Kind::Shrink)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(UnzipPipe, shrink, Kind::Shrink)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Extract, reduce4, Kind::Reduce)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Extract, implode_8k3t, Kind::Implode)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(UnzipPipe, implode_8k3t, Kind::Implode)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace kem::archive::testing
