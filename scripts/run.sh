#!/usr/bin/env bash
# Builds everything, then runs the generator in the current directory with the
# given options (none: random.map from the defaults).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" >&2
exec "$root/build/varnholt" "$@"
