#!/usr/bin/env bash
# Rewrites the digests of tests/pinned/digests.txt from build/varnholt, for a
# change that alters fair, symmetric, styled, team or lobby maps on purpose.
# Classic rows (no such option) are never rewritten: a classic row whose
# bytes differ is reported and the script fails, the table left as it was.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
table="$root/tests/pinned/digests.txt"
program="$root/build/varnholt"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

styled='--fair|--symmetric|--landscape|--climate|--water|--mountains|--resources|--teams|--multiplayer'
failed=0
while IFS= read -r line; do
  if [[ -z "$line" || "$line" == \#* ]]; then echo "$line"; continue; fi
  read -r map output arguments <<<"$line"
  # shellcheck disable=SC2086
  (cd "$work" && "$program" $arguments --output=m.map >out.txt)
  newMap="$(sha256sum <"$work/m.map" | cut -d' ' -f1)"
  newOutput="$(sha256sum <"$work/out.txt" | cut -d' ' -f1)"
  if [[ "$newMap $newOutput" != "$map $output" ]] && ! grep -qE -- "$styled" <<<"$arguments"; then
    echo "classic row changed: varnholt $arguments" >&2
    failed=1
  fi
  echo "$newMap $newOutput${arguments:+ $arguments}"
done <"$table" >"$work/table"
[ "$failed" -eq 0 ] || exit 1
cp "$work/table" "$table"
git -C "$root" diff --stat -- "$table"
