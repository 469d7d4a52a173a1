#!/usr/bin/env bash
# Sweeps team maps: generates seeds 1..N (default 20, first argument) of every
# team shape at a size that fits it, with each landscape (the climate turns
# with the seed), fair, for the multiplayer lobby (--multiplayer, also
# checked to be a lobby map) and, for an even number of teams, symmetric; reads
# each map back with varnholt-inspect --json and checks every guarantee of a
# team map: each
# start's nearest other start is a mate, the fronts (nearest start of another
# team) within 1.3 times of each other and at least 0.8 * size / sqrt(players)
# long, team sums within 1.10, every per-start guarantee of a fair map, the
# look of the starts (copy overlap on all but symmetric maps, roughness near
# the towers, tree grid, farm spots), the
# landscape's own (islands: one island per team, mates together), and on
# symmetric maps (even team counts) the point image of every start a start
# of the image team (team 1's of team 2 with two teams; with four, teams 1
# and 2 onto teams 3 and 4).
# Prints the worst value of each check per configuration, every failed check
# with its map, and exits 1 when any map failed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seeds="${1:-20}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$root/build" "$work" "$seeds" "$root/scripts" <<'PY'
import math, sys

build, work, seeds, scripts = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
sys.path.insert(0, scripts)
import sweeplib
landscapes = ["continent", "islands", "highlands", "lakes"]
climates = ["temperate", "desert", "swamp", "alpine"]
shapes = [("1v1", 320), ("2v2", 320), ("3v3", 384), ("4v4", 448), ("2v2v2", 384),
          ("2v2v2v2", 512)]
failures = []
worst = {}

def report(args):
    return sweeplib.report(build, work, args)

ratio = sweeplib.ratio

def checks(r, landscape, size, players, symmetric):
    """Each check: name, measured value, whether it passes, whether lower is worse."""
    f, t, land = r["fairness"], r["teams"], r["landscape"]
    spread, rows = f["spread"], f["rows"]
    out = []
    for column in ("small", "medium", "large"):
        out.append((f"{column} max/min", ratio(spread[column]), ratio(spread[column]) <= 1.15, False))
    for column, least in (("small", 800), ("medium", 500), ("large", 300),
                          ("stonecutter", 10), ("woodcutter", 10), ("trees", 60), ("stones", 15)):
        out.append((f"weakest {column}", spread[column]["min"], spread[column]["min"] >= least, True))
    for column in ("mountain", "coal", "iron", "gold"):
        out.append((f"{column} max/min", ratio(spread[column]), ratio(spread[column]) <= 1.25, False))
    out.append(("fish max/min", ratio(spread["fish"]), ratio(spread["fish"]) <= 2.0, False))
    edge = min(min(row["x"], row["y"], size - 1 - row["x"], size - 1 - row["y"]) for row in rows)
    out.append(("edge distance", edge, edge >= 52, True))
    starts = {(p["startX"], p["startY"]) for p in r["players"]}
    towers = {(row["x"], row["y"]) for row in rows}
    out.append(("starts at towers", len(starts ^ towers), starts == towers, False))
    findings = sum(v for k, v in r["conventions"].items() if k != "waterLevel")
    out.append(("convention findings", findings, findings == 0, False))
    # The teams.
    out.append(("rows without a team", sum(row["team"] is None for row in rows),
                all(row["team"] is not None for row in rows), False))
    out.append(("starts whose nearest start is no mate",
                sum(not m for m in t["perRow"]["mateNearest"]), t["mateNearest"], False))
    front = t["front"]
    out.append(("front max/min", ratio(front), ratio(front) <= 1.3, False))
    least = 0.8 * size / math.sqrt(players)
    out.append(("front / (0.8 size / sqrt players)", front["min"] / least,
                front["min"] >= math.floor(least), True))
    team_sums = max(ratio(t["spread"][c]) for c in
                    ("small", "medium", "large", "trees", "stones", "mountain", "coal", "iron", "gold"))
    out.append(("team sums max/min", team_sums, team_sums <= 1.10, False))
    team_of = {row["party"]: row["team"] for row in rows}
    masses = land["landMasses"]["withStarts"]
    if landscape == "islands":
        split = sum(len({team_of[p] for p in m["starts"]}) != 1 for m in masses)
        split += len(masses) - len({team_of[m["starts"][0]] for m in masses})
        out.append(("islands shared or teams split", split, split == 0, False))
    else:
        reach = land["onFoot"]["startsReachable"]
        out.append(("starts apart on foot", 0 if reach else 1, reach, False))
        if landscape == "continent":
            share = land["landMasses"]["largestShare"]
            out.append(("largest land mass share", share, share >= 0.9, True))
    if symmetric:
        count = len(t["teams"])
        at = {(row["x"], row["y"]): row["team"] for row in rows}
        off = sum(at.get((size - 1 - row["x"], size - 1 - row["y"])) !=
                  (row["team"] - 1 + count // 2) % count + 1 for row in rows)
        out.append(("starts whose image is no start of the other team", off, off == 0, False))
    return out

def record(config, name, value, ok, lower_is_worse, where):
    key = (config, name)
    old = worst.get(key)
    if old is None or (value < old if lower_is_worse else value > old):
        worst[key] = value
    if not ok:
        failures.append(f"{where}: {name} = {value}")

for teams, size in shapes:
    players = sum(int(n) for n in teams.split("v"))
    modes = ["--fair", "--multiplayer"] + (["--symmetric"] if teams.count("v") % 2 == 1 else [])
    for mode in modes:
        for landscape in landscapes:
            config = f"{teams} {mode[2:]} {size} {landscape}"
            for seed in range(1, seeds + 1):
                args = [mode, f"--teams={teams}", f"--seed={seed}", f"--size={size}",
                        f"--landscape={landscape}", f"--climate={climates[seed % 4]}"]
                r, error = report(args)
                if r is None:
                    failures.append(f"{' '.join(args)}: {error}")
                    continue
                symmetric = mode == "--symmetric"
                for name, value, ok, lower in (checks(r, landscape, size, players, symmetric) +
                                               sweeplib.look_checks(r, symmetric)):
                    record(config, name, value, ok, lower, " ".join(args))
                if mode == "--multiplayer":
                    lobby = (r["lobby"] is not None and r["buildings"]["count"] == 0 and
                             r["goodsPiles"]["count"] == 0 and r["settlers"] == 0)
                    record(config, "not a lobby map", 0 if lobby else 1, lobby, False,
                           " ".join(args))
            print(f"done {config}", file=sys.stderr)

names = []
for _, name in worst:
    if name not in names:
        names.append(name)
configs = []
for config, _ in worst:
    if config not in configs:
        configs.append(config)
short = {"starts whose nearest start is no mate": "mate not nearest",
         "front / (0.8 size / sqrt players)": "front/(0.8s/vp)",
         "starts whose image is no start of the other team": "image off",
         "islands shared or teams split": "island split",
         "largest land mass share": "mass", "starts apart on foot": "apart",
         "convention findings": "conv.", "starts at towers": "at towers",
         "rows without a team": "no team", "copy overlap": "copy",
         "copy overlap turned 45": "copy 45", "roughness near/elsewhere": "rough",
         "farm spots max/min": "farm"}
print("worst values per configuration:")
for config in configs:
    cells = []
    for name in names:
        if (config, name) in worst:
            v = worst[(config, name)]
            cells.append(f"{short.get(name, name)} {v:.3f}" if isinstance(v, float) else
                         f"{short.get(name, name)} {v}")
    print(f"{config}: " + ", ".join(cells))
print("worst over all configurations:")
for name in names:
    values = [worst[(c, name)] for c in configs if (c, name) in worst]
    lower = name.startswith(("weakest", "front /", "edge", "largest", "roughness"))
    v = min(values) if lower else max(values)
    print(f"  {name}: {v:.3f}" if isinstance(v, float) else f"  {name}: {v}")
print(f"{len(failures)} failed checks")
for failure in failures:
    print("FAIL " + failure)
sys.exit(1 if failures else 0)
PY
