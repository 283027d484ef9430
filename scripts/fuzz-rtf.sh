#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang and runs it for a
# bounded time on the seed corpus. Usage: scripts/fuzz-rtf.sh [seconds] [build-dir]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="${2:-$here/build-fuzz}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTEBO_FUZZ=ON -DTEBO_BUILD_TESTS=OFF -DTEBO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target rtf_fuzz -j2
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
cp "$here"/tests/data/report/fuzz-seeds/* "$corpus"/
export QT_QPA_PLATFORM=offscreen
# Font caches of the system libraries live until exit; they are no leak of ours.
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
"$build"/report/fuzz/rtf_fuzz "$corpus" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$build/"
