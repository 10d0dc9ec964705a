#!/usr/bin/env bash
# Fuzzes with libFuzzer (clang, ASan + UBSan) each target in turn: whole archives through
# TUnZip::Extract, received bytes in arbitrary chunks through the NMEA decoder, and settings files
# through their reads and a rewrite. Then folds what each found into its committed corpus in
# reduced form (a merge keeps only inputs that add coverage). `make test` replays the corpora.
#
#   FUZZ_SECONDS  how long to fuzz each target (default 1800)
#   FUZZ_TARGETS  which ones (default "archive nmea settings")
#   FUZZ_BUILD    build directory (default build-fuzz)
#   FUZZ_JOBS     build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD:-build-fuzz}
seconds=${FUZZ_SECONDS:-1800}
targets=${FUZZ_TARGETS:-archive nmea settings}

CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEM_FUZZ=ON \
    -DKEM_BENCH=OFF >/dev/null

for target in $targets; do
  # Archive entries decode to at most a few hundred times their size, so 4 KiB inputs stay fast;
  # received bytes get room for many sentences and overlong lines.
  case $target in
    archive) max_len=4096 ;;
    nmea) max_len=16384 ;;
    settings) max_len=4096 ;;
    *) echo "fuzz: unknown target $target" >&2; exit 2 ;;
  esac
  cmake --build "$build" -j "${FUZZ_JOBS:-2}" --target "${target}_fuzzer"
  fuzzer=$build/fuzz/${target}_fuzzer
  corpus=tests/data/fuzz-corpus/$target
  work=$build/fuzz/$target-work
  merged=$build/fuzz/$target-merged
  mkdir -p "$work"
  "$fuzzer" -max_total_time="$seconds" -max_len=$max_len -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 "$work" "$corpus"

  rm -rf "$merged"
  mkdir -p "$merged"
  "$fuzzer" -merge=1 -max_len=$max_len "$merged" "$corpus" "$work"
  rm -f "$corpus"/*
  cp "$merged"/* "$corpus"/
  echo "$target corpus: $(ls "$corpus" | wc -l) files, $(du -sh "$corpus" | cut -f1)"
done
