#!/usr/bin/env bash
# Runs the snapshot loader's libFuzzer target (tests/engine/fuzz_snapshot.cpp) for a fixed time,
# PAPYRA_FUZZ_SECONDS (60 by default), within a memory limit, seeded with a real two-page
# snapshot that build/bin/papyra-batch writes. Needs clang and build/ built.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${PAPYRA_FUZZ_SECONDS:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DPAPYRA_FUZZ=ON -DPAPYRA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_snapshot
corpus=build-fuzz/corpus
mkdir -p "$corpus"
seed=$(mktemp --suffix=.snp)
trap 'rm -f "$seed"' EXIT
QT_QPA_PLATFORM=offscreen build/bin/papyra-batch report build/bin/TaxForms.rpj Sample \
  --copies 2 --out "$seed" >/dev/null
# The target's first byte chooses whether checksums are repaired; the seed takes both ways.
{ printf '\001'; cat "$seed"; } >"$corpus/sample-repaired"
{ printf '\000'; cat "$seed"; } >"$corpus/sample"
# A crash, a leak, a timeout or more memory than the limit fails the run.
QT_QPA_PLATFORM=offscreen build-fuzz/bin/fuzz_snapshot "$corpus" -max_total_time="$seconds" \
  -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 -print_final_stats=1
