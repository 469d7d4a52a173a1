#!/usr/bin/env bash
# Builds everything and runs all tests: once as built for users, the browser
# build in Node and headless Chromium, the Windows programs under Wine, once
# with AddressSanitizer and UndefinedBehaviorSanitizer, then a bounded fuzz of
# the map reader.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"

bash "$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== browser build and tests =="
bash "$root/scripts/test-web.sh"

echo "== Windows build and tests under Wine =="
bash "$root/scripts/windows.sh" >/dev/null
bash "$root/tests/windows/run.sh"

echo "== sanitized tests =="
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVARNHOLT_SANITIZE=ON \
  -DVARNHOLT_BENCH=OFF >/dev/null
cmake --build "$root/build-sanitize" -j "$jobs" -- --quiet
ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs"

echo "== fuzzing =="
bash "$root/scripts/fuzz.sh"
