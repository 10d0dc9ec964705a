#include "archive/NameMatch.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// A directory listing of map sheets matched against the packer's mask, one name at a time.
void BM_MatchFileSpecListing(benchmark::State& state) {
    const std::string dir = "/home/user/KEMGPS/SKVERAI/";
    std::vector<std::string> names;
    for (char letter = 'A'; letter <= 'P'; ++letter) {
        for (int number = 0; number < 40; ++number) {
            names.push_back(dir + letter + std::to_string(10 + number) +
                            (number % 2 ? ".bmp" : ".z"));
        }
    }
    const std::string mask = dir + "*.bmp";
    for (auto _ : state) {
        int matched = 0;
        for (const auto& name : names) {
            matched += kem::archive::MatchFileSpec(mask, name);
        }
        benchmark::DoNotOptimize(matched);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
}
BENCHMARK(BM_MatchFileSpecListing);

}  // namespace
