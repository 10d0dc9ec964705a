// Shrink throughput on a map sheet and on mixed data, with the share of the original size that
// Shrink and, for orientation, zip -9 (deflate) keep.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "archive/ShrinkEncoder.h"
#include "archive/TZip.h"
#include "tests/support/SampleData.h"

namespace kem::archive {
namespace {

const std::vector<std::uint8_t>& MapSheet() {
    static const auto sheet = sample::MapSheetBmp(26);
    return sheet;
}

const std::vector<std::uint8_t>& Mixed() {
    static const auto mixed = sample::MixedData(10 << 20, 42);
    return mixed;
}

std::string WriteTemp(const std::string& name, const std::vector<std::uint8_t>& data) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kemzip-bench-" + std::to_string(::getpid()) + "-" + name))
                                 .string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    return path;
}

// Percentage of the original that `zip -9` keeps (compressed size of the entry), or -1 when zip
// is not installed.
double Deflate9Percent(const std::string& name, const std::vector<std::uint8_t>& data) {
    static std::map<std::string, double> known;
    if (const auto it = known.find(name); it != known.end()) {
        return it->second;
    }
    const std::string source = WriteTemp(name, data);
    const std::string archive = source + ".zip";
    double percent = -1;
    if (std::system(("zip -9 -q -j '" + archive + "' '" + source + "' 2>/dev/null").c_str()) == 0) {
        std::ifstream in(archive, std::ios::binary);
        unsigned char header[30] = {};
        in.read(reinterpret_cast<char*>(header), sizeof header);
        const std::uint32_t compressed = header[18] | header[19] << 8 | header[20] << 16 |
                                         static_cast<std::uint32_t>(header[21]) << 24;
        percent = 100.0 * compressed / static_cast<double>(data.size());
    }
    std::filesystem::remove(source);
    std::filesystem::remove(archive);
    return known[name] = percent;
}

void ShrinkInMemory(benchmark::State& state, const std::string& name,
                    const std::vector<std::uint8_t>& data) {
    std::size_t shrunk = 0;
    for (auto _ : state) {
        shrunk = ShrinkEncoder::ShrinkAll(data).size();
        benchmark::DoNotOptimize(shrunk);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
    state.counters["shrink_pct"] =
        100.0 * static_cast<double>(shrunk) / static_cast<double>(data.size());
    state.counters["deflate9_pct"] = Deflate9Percent(name, data);
}

void BM_ShrinkMapSheet(benchmark::State& state) {
    ShrinkInMemory(state, "sheet.bmp", MapSheet());
}
BENCHMARK(BM_ShrinkMapSheet)->Unit(benchmark::kMicrosecond);

void BM_ShrinkMixed10MB(benchmark::State& state) {
    ShrinkInMemory(state, "mixed.bin", Mixed());
}
BENCHMARK(BM_ShrinkMixed10MB)->Unit(benchmark::kMillisecond);

// The whole archive as KEMZIP writes it: listing, file reads, header fix-up and directory.
void BM_TZipMapSheetArchive(benchmark::State& state) {
    const std::string source = WriteTemp("K26.bmp", MapSheet());
    TZip zip;
    zip.SetOverwrite(true);
    zip.SetArcName(source + ".z");
    zip.Files() = {source};
    for (auto _ : state) {
        benchmark::DoNotOptimize(zip.Compress());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MapSheet().size()));
    std::filesystem::remove(source);
    std::filesystem::remove(zip.ArcName());
}
BENCHMARK(BM_TZipMapSheetArchive)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kem::archive
