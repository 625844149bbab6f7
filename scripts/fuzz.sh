#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (address and undefined behaviour
# sanitizers on) and runs each for SECONDS seconds (default 30), one after another.
#   ./scripts/fuzz.sh [SECONDS]
# A crash, a hang (10 s on one input) or a sanitizer report stops with the failing input kept
# under build-fuzz/artifacts/; keep it as a regression case in the GoogleTest suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source ./scripts/packages.sh
ensure_packages clang libclang-rt-14-dev cmake ninja-build

seconds="${1:-30}"
build=build-fuzz
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DZEMRA_FUZZ=ON -DZEMRA_TESTS=OFF -DZEMRA_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/artifacts"
status=0
for src in tests/fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  # The data fixtures seed every target (the instrument samples too); the file readers get room
  # for files of 4001 points.
  max_len=4096
  [ "$name" = fuzz_DataFile ] && max_len=20000
  [ "$name" = fuzz_InstrumentFormats ] && max_len=20000
  log="$build/$name.log"
  if "$build/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len="$max_len" -artifact_prefix="$build/artifacts/$name-" \
       "$corpus" tests/data >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1 || true)
    echo "fuzz $name: no fault in ${seconds}s (${runs:-?})"
  else
    echo "fuzz $name: FAILED, see $log" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit "$status"
