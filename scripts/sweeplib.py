"""What the sweep scripts share: running the generator and reading its map
back with the inspector, max/min of a fairness spread, and the look checks
every fair map must pass (copy overlap, roughness near the towers, tree
grid, farm spots)."""
import json
import math
import subprocess


def report(build, work, args):
    """The inspector's JSON report of the map args make, or None and the
    generator's error line."""
    path = f"{work}/m.map"
    run = subprocess.run([f"{build}/varnholt", *args, f"--output={path}"],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return None, run.stderr.strip()
    out = subprocess.run([f"{build}/varnholt-inspect", "--json", path],
                         capture_output=True, text=True, check=True).stdout
    return json.loads(out), ""


def ratio(spread):
    if spread["max"] == 0:
        return 1.0
    return math.inf if spread["min"] == 0 else spread["max"] / spread["min"]


def look_checks(r, symmetric):
    """Each check of the report's look block: name, value, whether it
    passes, whether lower is worse. Symmetric maps' starts are copies by
    design, so their copy overlap is not held."""
    look = r["look"]
    out = []
    if not symmetric:
        copy = look["copyOverlap"]["best"]
        out.append(("copy overlap", copy, copy <= 0.5, False))
        diagonal = look["copyOverlap"]["diagonalBest"]
        out.append(("copy overlap turned 45", diagonal, diagonal <= 0.5, False))
    near = look["roughness"]["ratio"] or 0.0
    out.append(("roughness near/elsewhere", near, near >= 0.6, True))
    grid = look["treeGrid"]["share"]
    out.append(("tree grid", grid, grid <= 0.35, False))
    farm = look["largeSpots"]
    farm_ratio = math.inf if farm["min"] == 0 else farm["max"] / farm["min"]
    out.append(("farm spots max/min", farm_ratio, farm_ratio <= 1.3, False))
    return out
