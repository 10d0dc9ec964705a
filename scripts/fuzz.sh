#!/usr/bin/env bash
# Fuzzes whole archives through TUnZip::Extract with libFuzzer (clang, ASan + UBSan), then folds
# what it found into the committed corpus in reduced form (a merge keeps only inputs that add
# coverage). `make test` replays that corpus.
#
#   FUZZ_SECONDS  how long to fuzz (default 1800)
#   FUZZ_BUILD    build directory (default build-fuzz)
#   FUZZ_JOBS     build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD:-build-fuzz}
seconds=${FUZZ_SECONDS:-1800}
corpus=tests/data/fuzz-corpus/archive
work=$build/fuzz/archive-work
merged=$build/fuzz/archive-merged

CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEM_FUZZ=ON \
    -DKEM_BENCH=OFF >/dev/null
cmake --build "$build" -j "${FUZZ_JOBS:-2}" --target archive_fuzzer

fuzzer=$build/fuzz/archive_fuzzer
mkdir -p "$work"
# Entries decode to at most a few hundred times their size, so 4 KiB inputs stay fast.
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" "$corpus"

rm -rf "$merged"
mkdir -p "$merged"
"$fuzzer" -merge=1 -max_len=4096 "$merged" "$corpus" "$work"
rm -f "$corpus"/*
cp "$merged"/* "$corpus"/
echo "corpus: $(ls "$corpus" | wc -l) files, $(du -sh "$corpus" | cut -f1)"
