#!/usr/bin/env bash
# Builds in Release mode, runs the benchmarks, then measures whole runs of the
# real binary: median wall time of 7 runs after a warm-up (stdout to /dev/null;
# timed with bash's own clock, so no helper process is counted), and peak
# resident memory from separate runs under /usr/bin/time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" >&2
"$root/build/varnholt_bench" "$@"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Prints "<median ms> <peak resident kB> <exit status>" for one command line.
measure() {
  local times=() peak=0 status start end kb
  "$root/build/varnholt" --output="$work/m.map" "$@" >/dev/null 2>&1 || true
  for _ in 1 2 3 4 5 6 7; do
    status=0
    start=${EPOCHREALTIME/./}  # microseconds, read without starting a process
    "$root/build/varnholt" --output="$work/m.map" "$@" >/dev/null 2>&1 || status=$?
    end=${EPOCHREALTIME/./}
    times+=("$(( (end - start) / 1000 ))")
    /usr/bin/time -f "%M" -o "$work/kb" \
      "$root/build/varnholt" --output="$work/m.map" "$@" >/dev/null 2>&1 || true
    kb=$(tail -n 1 "$work/kb")
    (( kb > peak )) && peak=$kb
  done
  echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 4p) $peak $status"
}

# Each whole run with its budget: wall ms, and peak MB (0: no memory budget).
runs=(
  "|12|0"
  "--fair|250|0"
  "--symmetric|250|0"
  "--size=2000 --playerCount=8|350|80"
  "--playerCount=40|2000|0"
)
printf '\n%-40s %10s %10s %5s %s\n' "whole run" "median ms" "peak MB" "exit" "budget"
for run in "${runs[@]}"; do
  IFS='|' read -r args budgetMs budgetMb <<<"$run"
  read -r median peak status < <(measure $args)
  verdict="within"
  if (( median > budgetMs )) || (( budgetMb > 0 && peak / 1024 > budgetMb )); then verdict="OVER"; fi
  budget="${budgetMs} ms"
  (( budgetMb > 0 )) && budget+=", ${budgetMb} MB"
  printf '%-40s %10s %10s %5s %s (%s)\n' "varnholt ${args:-(defaults)}" "$median" \
    "$((peak / 1024))" "$status" "$budget" "$verdict"
done
