#!/usr/bin/env bash
# Runs the Windows programs under Wine and compares them with the native
# ones: the pinned map and console digests, failures and their one error
# line, refused outputs (NUL, CON, a directory), failed writes (a full disk,
# a map another program holds open) that must leave the old map, stale
# temporary files, a path with non-ASCII characters, and the inspector's
# reports and preview pixels. Prints one line per failed check and ends with
# "N passed, M failed"; the status is 1 when any check failed.
#
# Usage: tests/windows/run.sh [<windows build dir> [<native build dir>]]
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
windows="$(cd "${1:-$root/build-windows}" && pwd)" || exit 1
native="$(cd "${2:-$root/build}" && pwd)" || exit 1
for program in "$windows/varnholt.exe" "$windows/varnholt-inspect.exe" "$windows/holdfile.exe" \
    "$native/varnholt" "$native/varnholt-inspect"; do
  [ -f "$program" ] || { echo "missing $program: run scripts/windows.sh first" >&2; exit 1; }
done

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the command line in the locale's encoding; names are UTF-8.
export LC_ALL=C.UTF-8

work="$(mktemp -d)"
cleanup() {
  "$wineserver" -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# One server for all runs, started before any run gets a file size limit.
mkdir -p "$WINEPREFIX"
"$wineserver" -p
"$wine" wineboot --init >/dev/null 2>&1

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
expect_equal() {  # <what> <expected> <actual>
  if [ "$2" == "$3" ]; then pass; else fail "$1: expected [$2], got [$3]"; fi
}
digest() { sha256sum "$1" | cut -d' ' -f1; }

# run <dir> <command...>: runs a command in dir, leaving its standard output,
# error and status in the files out, err and status there.
run() {
  local dir="$1"
  shift
  (cd "$dir" && "$@" >out 2>err; echo $? >status)
}
# win and nat <dir> <program> <args...>: the Windows and the native program.
win() { local dir="$1" exe="$2"; shift 2; run "$dir" "$wine" "$windows/$exe.exe" "$@"; }
nat() { local dir="$1" exe="$2"; shift 2; run "$dir" "$native/$exe" "$@"; }

mkdir -p "$work/w" "$work/n"

echo "== pinned maps and console lines of varnholt.exe =="
pinned=0
while read -r map_digest output_digest arguments; do
  case "$map_digest" in ''|'#'*) continue ;; esac
  pinned=$((pinned + 1))
  rm -f "$work/w/m.map"
  # shellcheck disable=SC2086  # the arguments are a word list
  win "$work/w" varnholt $arguments --output=m.map
  expect_equal "status of: varnholt.exe $arguments" 0 "$(cat "$work/w/status")"
  expect_equal "map file of: varnholt.exe $arguments" "$map_digest" \
    "$( [ -f "$work/w/m.map" ] && digest "$work/w/m.map")"
  expect_equal "standard output of: varnholt.exe $arguments" "$output_digest" \
    "$(digest "$work/w/out")"
done < "$root/tests/pinned/digests.txt"
[ "$pinned" -ge 12 ] || fail "tests/pinned/digests.txt is missing or short: $pinned command lines"

echo "== failures: the native program's lines and status =="
for arguments in "--size=12abc" "--playerCount=40" "--symmetric --playerCount=3" \
    "--startGoods=XX" "--bogus" "--version" "--help"; do
  # shellcheck disable=SC2086
  win "$work/w" varnholt $arguments --output=f.map
  # shellcheck disable=SC2086
  nat "$work/n" varnholt $arguments --output=f.map
  for stream in out err status; do
    expect_equal "$stream of: varnholt $arguments" "$(cat "$work/n/$stream")" \
      "$(cat "$work/w/$stream")"
  done
done

echo "== outputs that are no regular file =="
mkdir -p "$work/w/folder"
for case in "NUL|a device" "CON|a device" "nul.map|a device" "folder|a directory"; do
  path="${case%%|*}"
  what="${case#*|}"
  win "$work/w" varnholt --output="$path"
  expect_equal "status for --output=$path" 1 "$(cat "$work/w/status")"
  expect_equal "standard output for --output=$path" "" "$(cat "$work/w/out")"
  expect_equal "error for --output=$path" \
    "Error: unhandled exception: Refusing output path $path: $what, not a regular file \
[Exception]" \
    "$(cat "$work/w/err")"
done

echo "== a failed write leaves the old map =="
printf 'the old map' > "$work/w/old.map"
# A file size limit (in KiB) stands in for a full disk; with SIGXFSZ ignored
# the write fails instead of ending the process.
(cd "$work/w" && trap '' XFSZ && ulimit -f 64 && "$wine" "$windows/varnholt.exe" --output=old.map \
  >out 2>err; echo $? >status)
expect_equal "status of a write beyond the limit" 1 "$(cat "$work/w/status")"
expect_equal "old map after a failed write" "the old map" "$(cat "$work/w/old.map")"
expect_equal "error lines of a failed write" 1 "$(wc -l < "$work/w/err")"
case "$(cat "$work/w/err")" in
  "Error: unhandled exception: Failed to write path old.map: "*) pass ;;
  *) fail "error of a failed write: $(cat "$work/w/err")" ;;
esac
expect_equal "temporary files left" "" "$(cd "$work/w" && ls -A | grep '\.tmp$')"

# A map the game holds open cannot be replaced: the new one, already
# written beside it, is removed and the old one stays.
printf 'the held map' > "$work/w/held.map"
mkfifo "$work/hold"
(cd "$work/w" && "$wine" "$windows/holdfile.exe" held.map < "$work/hold" > holding) &
holder=$!
exec 3> "$work/hold"
for _ in $(seq 100); do grep -q held "$work/w/holding" 2>/dev/null && break; sleep 0.1; done
win "$work/w" varnholt --output=held.map
exec 3>&-
wait "$holder"
expect_equal "status when the old map is held open" 1 "$(cat "$work/w/status")"
expect_equal "error when the old map is held open" \
  "Error: unhandled exception: Failed to write path held.map: Permission denied [Exception]" \
  "$(cat "$work/w/err")"
expect_equal "old map after it was held open" "the held map" "$(cat "$work/w/held.map")"
expect_equal "temporary files left after it was held open" "" \
  "$(cd "$work/w" && ls -A | grep '\.tmp$')"

# Temporary files of killed runs go once they are a minute old; newer ones
# may belong to a live run and stay.
mkdir -p "$work/w/left"
stale=".varnholt-7-00000000000000aa.tmp"
fresh=".varnholt-7-00000000000000bb.tmp"
touch -d '2 minutes ago' "$work/w/left/$stale"
touch "$work/w/left/$fresh"
win "$work/w/left" varnholt --size=80 --playerCount=1 --output=m.map
expect_equal "a stale temporary file after a run" removed \
  "$([ -e "$work/w/left/$stale" ] && echo left || echo removed)"
expect_equal "a fresh temporary file after a run" kept \
  "$([ -e "$work/w/left/$fresh" ] && echo kept || echo removed)"

echo "== non-ASCII paths =="
name="Kärte 北 ø.map"
win "$work/w" varnholt --seed=42 "--output=$name"
nat "$work/n" varnholt --seed=42 "--output=$name"
expect_equal "status with a non-ASCII name" 0 "$(cat "$work/w/status")"
expect_equal "map under a non-ASCII name" "$(digest "$work/n/$name")" \
  "$( [ -f "$work/w/$name" ] && digest "$work/w/$name")"
expect_equal "console lines with a non-ASCII name" "$(cat "$work/n/out")" "$(cat "$work/w/out")"
win "$work/w" varnholt-inspect "$name"
nat "$work/n" varnholt-inspect "$name"
expect_equal "report of a non-ASCII name" "$(digest "$work/n/out")" "$(digest "$work/w/out")"

echo "== varnholt-inspect.exe: reports and preview =="
for arguments in "" "--fair --size=384 --playerCount=4 --seed=42" \
    "--size=150 --playerCount=2 --seed=3"; do
  # shellcheck disable=SC2086
  nat "$work/n" varnholt $arguments --output=i.map
  cp "$work/n/i.map" "$work/w/i.map"
  for options in "" "--json"; do
    # shellcheck disable=SC2086
    win "$work/w" varnholt-inspect $options --png=i.png --scale=2 i.map
    # shellcheck disable=SC2086
    nat "$work/n" varnholt-inspect $options --png=i.png --scale=2 i.map
    for stream in status err; do
      expect_equal "$stream of: varnholt-inspect $options (map: $arguments)" \
        "$(cat "$work/n/$stream")" "$(cat "$work/w/$stream")"
    done
    expect_equal "report of: varnholt-inspect $options (map: $arguments)" \
      "$(digest "$work/n/out")" "$(digest "$work/w/out")"
  done
  expect_equal "preview pixels (map: $arguments)" \
    "$(python3 "$root/tests/windows/pngpixels.py" "$work/n/i.png")" \
    "$(python3 "$root/tests/windows/pngpixels.py" "$work/w/i.png" 2>&1)"
done
for arguments in "missing.map" "folder" "--scale=17 i.map" "--png=i.map i.map"; do
  # shellcheck disable=SC2086
  win "$work/w" varnholt-inspect $arguments
  mkdir -p "$work/n/folder"
  # shellcheck disable=SC2086
  nat "$work/n" varnholt-inspect $arguments
  for stream in out err status; do
    expect_equal "$stream of: varnholt-inspect $arguments" "$(cat "$work/n/$stream")" \
      "$(cat "$work/w/$stream")"
  done
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
