#!/usr/bin/env bash
# Builds the map reader's fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs it for a bounded time:
# FUZZ_SECONDS (default 60), starting from the sample maps in tests/data/.
# A crash, leak or timeout fails the script and leaves the input that caused
# it in build-fuzz/ (crash-*, leak-*, timeout-*): commit it under tests/data/
# with a test that expects a clean error.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
seconds="${FUZZ_SECONDS:-60}"

# The native build makes the footprint tables the fuzz target compiles in.
bash "$root/scripts/build.sh"
cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARNHOLT_FOOTPRINT_TABLES="$root/build/generated/footprint_tables.cpp" >/dev/null
cmake --build "$build" -j "$(nproc)" -- --quiet

mkdir -p "$build/corpus"
echo "== fuzzing the map reader for ${seconds} s =="
if ! "$build/mapimport_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$build/" "$build/corpus" "$root/tests/data" >"$build/fuzz.log" 2>&1; then
  tail -n 60 "$build/fuzz.log"
  echo "fuzzing found a failure; its input is in $build/" >&2
  exit 1
fi
grep -E "^Done [0-9]+ runs" "$build/fuzz.log" || tail -n 1 "$build/fuzz.log"
