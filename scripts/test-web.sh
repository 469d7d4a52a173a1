#!/usr/bin/env bash
# Builds the browser version (scripts/web.sh), then tests it: the WebAssembly
# module under Node against the command-line programs, and the page in
# headless Chromium served from 127.0.0.1. Ends with "N passed, M failed" and
# exits non-zero when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/web.sh" >/dev/null
node --test --test-concurrency=1 \
  --test-reporter=tap --test-reporter-destination=stdout \
  --test-reporter="$root/tests/web/summary.mjs" --test-reporter-destination=stdout \
  "$root/tests/web/module.test.mjs" "$root/tests/web/page.test.mjs"
