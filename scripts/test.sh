#!/usr/bin/env bash
# Builds everything and runs all tests: once as built for users, once with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"

bash "$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== sanitized tests =="
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVARNHOLT_SANITIZE=ON \
  -DVARNHOLT_BENCH=OFF >/dev/null
cmake --build "$root/build-sanitize" -j "$jobs" -- --quiet
ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs"

echo "== fuzzing =="
bash "$root/scripts/fuzz.sh"
