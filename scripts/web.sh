#!/usr/bin/env bash
# Builds the browser version: the native tree first (it generates the
# footprint tables and is the reference the web tests compare with), then the
# core as WebAssembly with Debian's emscripten into build-web/, where
# build-web/site/ is the folder to serve. Extra arguments go to the
# emscripten cmake configure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

tables="$root/build/generated/footprint_tables.cpp"
[ -f "$tables" ] || { echo "web.sh: the native build made no $tables" >&2; exit 1; }

emcmake cmake -S "$root" -B "$root/build-web" -DCMAKE_BUILD_TYPE=Release \
  -DVARNHOLT_FOOTPRINT_TABLES="$tables" "$@" >/dev/null
cmake --build "$root/build-web" -j "$(nproc)" -- --quiet
echo "The page is in $root/build-web/site/"
