#!/usr/bin/env bash
# Measures how evenly maps treat their players: generates N seeds (default
# 20, first argument) per size/player configuration in each mode (default,
# --fair, --symmetric; second argument to pick one), reads each map back with
# varnholt-inspect --json and prints, per fairness column, the median, 90th
# percentile and worst max/min ratio over the seeds and the weakest start's
# value over all of them; then the look of the starts (copy overlap under
# the grid's turns and mirrors and turned by 45 degrees, roughness
# near/elsewhere, tree grid share, farm spots max/min) and the landscape
# (water, largest land mass, inland lakes and ground shares, on-foot reach),
# the starts that recur from seed to seed (and the axes between the starts of
# 2-player maps), and beside classic maps of the same seeds the land's
# roughness against theirs.
# A configuration whose first seed the generator refuses is reported with
# that error line instead; seeds refused later are counted and the first such
# error shown.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seeds="${1:-20}"
modes=("${2:-default}")
[ $# -lt 2 ] && modes=(default --fair --symmetric)
configs=(320/2 320/4 320/6 320/8 384/4 512/8 640/12 768/12 1000/16)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for mode in "${modes[@]}"; do
  flag="$mode"
  [ "$mode" = default ] && flag=""
  for config in "${configs[@]}"; do
    size="${config%/*}"
    players="${config#*/}"
    : >"$work/reports"
    : >"$work/seeds"
    error=""
    refused=0
    for seed in $(seq 1 "$seeds"); do
      if ! "$root/build/varnholt" $flag --seed="$seed" --size="$size" --playerCount="$players" \
          --output="$work/m.map" >/dev/null 2>"$work/err"; then
        [ -z "$error" ] && error="seed $seed: $(head -n 1 "$work/err")"
        refused=$((refused + 1))
        [ "$seed" -eq 1 ] && break
        continue
      fi
      "$root/build/varnholt-inspect" --json "$work/m.map" | tr -d '\n' >>"$work/reports"
      echo >>"$work/reports"
      echo "$seed" >>"$work/seeds"
    done
    # The classic maps' reports, for comparing the other modes' land with them.
    classic="$work/classic-${size}-${players}"
    if [ "$mode" = default ]; then
      cp "$work/reports" "$classic"
      cp "$work/seeds" "$classic.seeds"
    fi
    echo "== $mode $size/$players ($seeds seeds)"
    if [ ! -s "$work/reports" ]; then
      echo "skipped: $error"
      continue
    fi
    [ "$refused" -gt 0 ] && echo "refused seeds: $refused, first $error"
    python3 - "$work/reports" "$work/seeds" "$classic" "$mode" <<'PY'
import json, math, os, sys

def percentile(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(p * (len(values) - 1) + 0.5))]

reports = [json.loads(line) for line in open(sys.argv[1]) if line.strip()]
columns = [c for c in reports[0]["fairness"]["spread"] if c not in ("claimed", "settlers", "piles", "goods")]
print(f"{'column':<12} {'median':>8} {'p90':>8} {'worst':>8} {'weakest':>8}")
for column in columns:
    ratios, weakest = [], None
    for report in reports:
        spread = report["fairness"]["spread"][column]
        ratios.append(float("inf") if spread["min"] == 0 and spread["max"] > 0 else
                      1.0 if spread["max"] == 0 else spread["max"] / spread["min"])
        weakest = spread["min"] if weakest is None else min(weakest, spread["min"])
    cells = [f"{r:8.2f}" for r in (percentile(ratios, 0.5), percentile(ratios, 0.9), max(ratios))]
    print(f"{column:<12} {' '.join(cells)} {weakest:>8}")

# The look of the starts: worst is the highest, or for the roughness ratio
# (near the starts against elsewhere) the lowest; a ratio without a divisor
# counts as inf.
def look(report, measure):
    block = report["look"]
    if measure == "copy overlap":
        return block["copyOverlap"]["best"]
    if measure == "copy 45":
        return block["copyOverlap"]["diagonalBest"]
    if measure == "roughness":
        ratio = block["roughness"]["ratio"]
        return float("inf") if ratio is None else ratio
    if measure == "tree grid":
        return block["treeGrid"]["share"]
    ratio = block["largeSpots"]["ratio"]
    return float("inf") if ratio is None else ratio

print(f"{'look':<12} {'median':>8} {'best':>8} {'worst':>8}")
for measure in ("copy overlap", "copy 45", "roughness", "tree grid", "farm spots"):
    values = sorted(look(report, measure) for report in reports)
    if measure == "roughness":
        values.reverse()
    cells = [f"{v:8.2f}" for v in (percentile(values, 0.5), values[0], values[-1])]
    print(f"{measure:<12} {' '.join(cells)}")

# The landscape as a whole: median, lowest and highest over the maps.
def landscape(report, measure):
    block = report["landscape"]
    if measure == "water":
        return block["waterShare"]
    if measure == "largest mass":
        return block["landMasses"]["largestShare"]
    if measure == "inland lakes":
        return block["inlandLakes"]["share"]
    return block["land"][measure]["share"]

print(f"{'landscape':<12} {'median':>8} {'min':>8} {'max':>8}")
for measure in ("water", "largest mass", "inland lakes", "grass", "desert", "swamp", "mountain",
                "snow"):
    values = sorted(landscape(report, measure) for report in reports)
    cells = [f"{v:8.2f}" for v in (percentile(values, 0.5), values[0], values[-1])]
    print(f"{measure:<12} {' '.join(cells)}")
reachable = sum(report["landscape"]["onFoot"]["startsReachable"] for report in reports)
print(f"on foot: every start reaches every other on {reachable} of {len(reports)} maps")

# Starts that recur from seed to seed: within 10 tiles of a start of another
# seed's map.
starts = [[(row["x"], row["y"]) for row in report["fairness"]["rows"]] for report in reports]
recurring = sum(
    any(math.dist(start, other) <= 10 for j, theirs in enumerate(starts) if j != i
        for other in theirs)
    for i, ours in enumerate(starts) for start in ours)
total = sum(len(ours) for ours in starts)
print(f"recurring starts: {recurring} of {total} within 10 tiles of another seed's start")
if all(len(ours) == 2 for ours in starts):
    axes = sorted({round(math.degrees(math.atan2(b[1] - a[1], b[0] - a[0])) % 180 / 15) * 15 % 180
                   for a, b in starts})
    print(f"axes between the two starts: {len(axes)} ({', '.join(f'{a} deg' for a in axes)})")

# The whole land's roughness against the classic map of the same seed.
def land_roughness(report):
    rough = report["look"]["roughness"]
    pairs = rough["nearPairs"] + rough["elsewherePairs"]
    return (rough["near"] * rough["nearPairs"] + rough["elsewhere"] * rough["elsewherePairs"]) / pairs if pairs else 0.0

if sys.argv[4] != "default" and os.path.exists(sys.argv[3]):
    classic = {int(seed): land_roughness(json.loads(line))
               for seed, line in zip(open(sys.argv[3] + ".seeds"), open(sys.argv[3])) if line.strip()}
    seeds = [int(seed) for seed in open(sys.argv[2])]
    ratios = sorted(land_roughness(report) / classic[seed]
                    for seed, report in zip(seeds, reports) if classic.get(seed))
    if ratios:
        print(f"land roughness / classic of the same seed: median {percentile(ratios, 0.5):.2f}, "
              f"lowest {ratios[0]:.2f}")
PY
  done
done
