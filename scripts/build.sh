#!/usr/bin/env bash
# Configures and builds into build/ (Release). Extra arguments go to cmake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$root/build" -j "$(nproc)" -- --quiet
