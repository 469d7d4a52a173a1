#!/usr/bin/env bash
# Sweeps the map styles: generates seeds 1..N (default 20, first argument) of
# every landscape x climate at 384/4 and 512/8 with --fair and at 384/4 with
# --symmetric and with --multiplayer (which must also be a lobby map: no
# buildings, piles or settlers), and of every landscape x amount (low, normal, high) on the
# first five seeds, reads each map back with varnholt-inspect --json and
# checks every threshold a styled map must meet: the fairness table, the
# landscape's and the climate's shares, the ground conventions, the water
# and mountain shares asked for, the amounts against normal, and the look
# of the starts (copy overlap, roughness, tree grid, farm spots). Prints a
# table of the worst value of each check per configuration, every failed
# check with its map, and exits 1 when any map failed.
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
failures = []

def report(args):
    return sweeplib.report(build, work, args)

ratio = sweeplib.ratio

def checks(r, landscape, climate, size, players, symmetric, asked_mountains=0.0):
    """Each check: name, measured value, whether it passes."""
    f, land, conv = r["fairness"], r["landscape"], r["conventions"]
    spread, rows = f["spread"], f["rows"]
    shares = {k: v["share"] for k, v in land["land"].items()}
    out = []
    for column in ("small", "medium", "large"):
        out.append((f"{column} max/min", ratio(spread[column]), ratio(spread[column]) <= 1.15))
    for column, least in (("small", 800), ("medium", 500), ("large", 300),
                          ("stonecutter", 10), ("woodcutter", 10), ("trees", 60), ("stones", 15)):
        out.append((f"weakest {column}", spread[column]["min"], spread[column]["min"] >= least))
    out.append(("mountain max/min", ratio(spread["mountain"]), ratio(spread["mountain"]) <= 1.25))
    for column in ("coal", "iron", "gold"):
        out.append((f"{column} max/min", ratio(spread[column]), ratio(spread[column]) <= 1.25))
    out.append(("fish max/min", ratio(spread["fish"]), ratio(spread["fish"]) <= 2.0))
    if players > 1:
        rival = spread["rival"]
        out.append(("rival max/min", ratio(rival), ratio(rival) <= 1.25))
        least = 0.8 * size / math.sqrt(players)
        out.append(("nearest rival / (0.8 size / sqrt players)", rival["min"] / least,
                    rival["min"] >= math.floor(least)))
    edge = min(min(row["x"], row["y"], size - 1 - row["x"], size - 1 - row["y"]) for row in rows)
    out.append(("edge distance", edge, edge >= 52))
    starts = {(p["startX"], p["startY"]) for p in r["players"]}
    towers = {(row["x"], row["y"]) for row in rows}
    out.append(("starts at towers", len(starts ^ towers), starts == towers))
    findings = sum(v for k, v in conv.items() if k != "waterLevel")
    out.append(("convention findings", findings, findings == 0))
    masses = land["landMasses"]
    if landscape == "islands":
        own = all(len(m["starts"]) == 1 for m in masses["withStarts"])
        out.append(("starts sharing an island", 0 if own else 1, own))
    else:
        out.append(("largest land mass share", masses["largestShare"],
                    landscape != "continent" or masses["largestShare"] >= 0.9))
        out.append(("starts apart on foot", 0 if land["onFoot"]["startsReachable"] else 1,
                    land["onFoot"]["startsReachable"]))
    mountain = shares["mountain"] + shares["snow"]
    if landscape == "highlands":
        out.append(("highlands mountain share", mountain, mountain >= 0.30))
    if landscape == "lakes":
        lakes = land["inlandLakes"]
        out.append(("inland lake share", lakes["share"], lakes["share"] >= 0.10))
        out.append(("inland lakes per player", lakes["count"] / players, lakes["count"] >= players))
    if climate == "temperate":
        out.append(("grass share", shares["grass"], shares["grass"] >= min(0.55, 0.90 - asked_mountains)))
    elif climate == "desert":
        out.append(("desert share", shares["desert"], shares["desert"] >= 0.30))
    elif climate == "swamp":
        out.append(("swamp share", shares["swamp"], shares["swamp"] >= 0.15))
    else:
        out.append(("alpine mountain share", mountain, mountain >= 0.35))
        out.append(("alpine snow share", shares["snow"], shares["snow"] >= 0.04))
    return out

# The look of the starts: measured by the inspector's look block on every
# fair and symmetric map of the landscape x climate sweep. Symmetric maps'
# starts are copies by design, so only their roughness is held against the
# classic map of the same size, players and seed.
classic_roughness = {}

def land_roughness(look):
    r = look["roughness"]
    pairs = r["nearPairs"] + r["elsewherePairs"]
    return (r["near"] * r["nearPairs"] + r["elsewhere"] * r["elsewherePairs"]) / max(1, pairs)

def look_checks(r, size, players, seed, symmetric):
    out = [(name, value, ok) for name, value, ok, _ in sweeplib.look_checks(r, symmetric)]
    if symmetric:
        key = (size, players, seed)
        if key not in classic_roughness:
            classic, error = report([f"--seed={seed}", f"--size={size}", f"--playerCount={players}"])
            classic_roughness[key] = land_roughness(classic["look"]) if classic else 0.0
        ratio = land_roughness(r["look"]) / max(1e-9, classic_roughness[key])
        out.append(("roughness / classic", ratio, ratio >= 0.75))
    return out

worst = {}

def record(config, name, value, ok, where):
    key = (config, name)
    lower_is_worse = name.startswith(("weakest", "nearest", "edge", "largest", "inland", "grass",
                                      "desert", "swamp", "alpine", "highlands", "roughness"))
    old = worst.get(key)
    if old is None or (value < old if lower_is_worse else value > old):
        worst[key] = value
    if not ok:
        failures.append(f"{where}: {name} = {value}")

configs = [("--fair", 384, 4), ("--fair", 512, 8), ("--symmetric", 384, 4), ("--multiplayer", 384, 4)]
for mode, size, players in configs:
    for landscape in landscapes:
        for climate in climates:
            config = f"{mode[2:]} {size}/{players} {landscape}"
            for seed in range(1, seeds + 1):
                args = [mode, f"--seed={seed}", f"--size={size}", f"--playerCount={players}",
                        f"--landscape={landscape}", f"--climate={climate}"]
                r, error = report(args)
                if r is None:
                    failures.append(f"{' '.join(args)}: {error}")
                    continue
                for name, value, ok in checks(r, landscape, climate, size, players, mode == "--symmetric"):
                    record(config, name, value, ok, " ".join(args))
                for name, value, ok in look_checks(r, size, players, seed, mode == "--symmetric"):
                    record(config, name, value, ok, " ".join(args))
                if mode == "--multiplayer":
                    lobby = (r["lobby"] is not None and r["buildings"]["count"] == 0 and
                             r["goodsPiles"]["count"] == 0 and r["settlers"] == 0)
                    record(config, "not a lobby map", 0 if lobby else 1, lobby, " ".join(args))
            print(f"done {config}", file=sys.stderr)

# Shares asked for: each end of each landscape's ranges, the other share
# one that leaves room for it, on the first seeds.
asked = {"continent": [(15, 15), (60, 5), (20, 5), (20, 45)],
         "islands": [(30, 15), (75, 5), (45, 5), (40, 30)],
         "highlands": [(5, 38), (35, 30), (8, 30), (8, 60)],
         "lakes": [(15, 15), (60, 5), (25, 5), (15, 45)]}
for landscape, pairs in asked.items():
    for w, m in pairs:
        config = f"fair 512/8 {landscape} --water={w} --mountains={m}"
        for seed in range(1, min(seeds, 5) + 1):
            args = ["--fair", f"--seed={seed}", "--size=512", "--playerCount=8",
                    f"--landscape={landscape}", f"--water={w}", f"--mountains={m}"]
            r, error = report(args)
            if r is None:
                failures.append(f"{' '.join(args)}: {error}")
                continue
            shares = r["landscape"]["land"]
            water_off = abs(r["landscape"]["waterShare"] - w / 100)
            mountain_off = abs(shares["mountain"]["share"] + shares["snow"]["share"] - m / 100)
            record(config, "water share off asked", water_off, water_off <= 0.05, " ".join(args))
            record(config, "mountain share off asked", mountain_off, mountain_off <= 0.05,
                   " ".join(args))
            for name, value, ok in checks(r, landscape, "temperate", 512, 8, False, m / 100):
                if not ok:
                    failures.append(f"{' '.join(args)}: {name} = {value}")

# Amounts: low and high against normal, whole map and weakest start.
amount_columns = ["coal", "iron", "gold", "sulfur", "gems", "fish", "trees", "stones"]
for landscape in landscapes:
    for seed in range(1, min(seeds, 5) + 1):
        base = ["--fair", f"--seed={seed}", "--size=512", "--playerCount=8", f"--landscape={landscape}"]
        totals, weakest = {}, {}
        for amount in ("low", "normal", "high"):
            r, error = report(base + [f"--resources={amount}"])
            if r is None:
                failures.append(f"{' '.join(base)} --resources={amount}: {error}")
                break
            a = r["landscape"]["amounts"]
            totals[amount] = {c: (r["landscape"][c] if c in ("trees", "stones") else a[c])
                              for c in amount_columns}
            weakest[amount] = {c: r["fairness"]["spread"][c]["min"] for c in amount_columns}
        if len(totals) < 3:
            continue
        config = f"fair 512/8 {landscape} amounts"
        for c in amount_columns:
            for scope, values in (("map", totals), ("start", weakest)):
                normal = values["normal"][c]
                if normal == 0:
                    continue
                high, low = values["high"][c] / normal, values["low"][c] / normal
                record(config, f"high/normal {c} ({scope})", -high, high >= 1.6,
                       " ".join(base) + f" {c} {scope}")
                record(config, f"low/normal {c} ({scope})", low, low <= 0.6,
                       " ".join(base) + f" {c} {scope}")

# One line per configuration: the worst value of each check over its maps.
columns = [("spots", ("small max/min", "medium max/min", "large max/min"), max),
           ("small", ("weakest small",), min), ("medium", ("weakest medium",), min),
           ("large", ("weakest large",), min), ("stonec.", ("weakest stonecutter",), min),
           ("woodc.", ("weakest woodcutter",), min), ("trees", ("weakest trees",), min),
           ("stones", ("weakest stones",), min), ("mount.", ("mountain max/min",), max),
           ("ore", ("coal max/min", "iron max/min", "gold max/min"), max),
           ("fish", ("fish max/min",), max), ("rival", ("rival max/min",), max),
           ("rival/0.8s/vp", ("nearest rival / (0.8 size / sqrt players)",), min),
           ("edge", ("edge distance",), min), ("conv.", ("convention findings",), max),
           ("mass", ("largest land mass share",), min),
           ("shared isl.", ("starts sharing an island",), max),
           ("apart", ("starts apart on foot",), max),
           ("mount.share", ("highlands mountain share",), min),
           ("lakes", ("inland lake share",), min), ("lakes/pl.", ("inland lakes per player",), min),
           ("grass", ("grass share",), min), ("desert", ("desert share",), min),
           ("swamp", ("swamp share",), min), ("alp.mount", ("alpine mountain share",), min),
           ("alp.snow", ("alpine snow share",), min),
           ("copy", ("copy overlap", "copy overlap turned 45"), max), ("rough", ("roughness near/elsewhere",), min),
           ("grid", ("tree grid",), max), ("farm", ("farm spots max/min",), max),
           ("rough/cl.", ("roughness / classic",), min), ("lobby", ("not a lobby map",), max)]
configs_seen = sorted({config for config, _ in worst if " amounts" not in config and "--" not in config})
print("| configuration | " + " | ".join(name for name, _, _ in columns) + " |")
print("|---" * (len(columns) + 1) + "|")
for config in configs_seen:
    cells = []
    for _, names, pick in columns:
        values = [worst[(config, n)] for n in names if (config, n) in worst]
        if not values:
            cells.append("")
            continue
        v = pick(values)
        cells.append(f"{v:.2f}" if isinstance(v, float) else str(v))
    print(f"| {config} | " + " | ".join(cells) + " |")
print()
print("| asked shares and amounts | check | worst |")
print("|---|---|---|")
for (config, name), value in sorted(worst.items()):
    if " amounts" in config or "--" in config:
        shown = -value if name.startswith("high/normal") else value
        print(f"| {config} | {name} | {shown:.3f} |")
print(f"\n{len(failures)} failed checks")
for failure in failures:
    print("FAILED " + failure)
sys.exit(1 if failures else 0)
PY
