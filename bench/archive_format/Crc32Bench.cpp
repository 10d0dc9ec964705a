#include "archive/Crc32.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

void BM_Crc32Block(benchmark::State& state) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(state.range(0)));
    std::mt19937 rng(1);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(rng());
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            kem::archive::Crc32UpdateBlock(data.data(), data.size(), kem::archive::kCrc32Start));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc32Block)->Arg(1 << 20);

}  // namespace
