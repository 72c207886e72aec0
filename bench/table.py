#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints scripts/bench.sh's table from the raw figures its runs left in one folder."""

import json
import statistics
import sys
from pathlib import Path

work = Path(sys.argv[1])
colours = int(sys.argv[2])
rows = []


def row(figure, value, baseline="", ratio=""):
    rows.append((figure, value, baseline, ratio))


def spread(values, unit, digits=1):
    return f"{statistics.median(values):.{digits}f} {unit} ({min(values):.{digits}f}–{max(values):.{digits}f})"


def columns(name):
    lines = [line.split() for line in (work / name).read_text().splitlines() if line.strip()]
    return [[float(field) for field in line] for line in lines]


# Start to first frame, and the peak resident size then, against the bare window.
korvane, bare = columns("start-korvane"), columns("start-bare")
for index, what, unit in ((0, "wall", "ms"), (1, "CPU", "ms")):
    mine, base = [r[index] for r in korvane], [r[index] for r in bare]
    row(f"Start to first frame of the start window, {what} (n={len(mine)})", spread(mine, unit),
        spread(base, unit), f"{statistics.median(mine) / statistics.median(base):.3f} ×")
cold = columns("start-cold")
for index, what, unit in ((0, "wall", "ms"), (1, "CPU", "ms")):
    mine, base = [r[index] for r in cold], [r[index] for r in bare]
    row(f"The same, first start (no fitted sizes cached yet), {what}", spread(mine, unit), spread(base, unit),
        f"{statistics.median(mine) / statistics.median(base):.3f} ×")
bareRss = statistics.median(r[2] for r in bare)
row("Peak RSS at the first frame", f"{statistics.median(r[2] for r in korvane) / 1024:.1f} MB",
    f"{bareRss / 1024:.1f} MB", f"{statistics.median(r[2] for r in korvane) / bareRss:.3f} ×")

# Opening and closing the windows.
growth = {}
for line in (work / "windows").read_text().splitlines():
    fields = line.split()
    if fields[0] == "peak":
        peak = float(fields[1])
        row("Peak RSS, the four test windows opened once", f"{peak / 1024:.1f} MB", f"{bareRss / 1024:.1f} MB",
            f"{peak / bareRss:.3f} ×")
    else:
        growth[fields[1]] = float(fields[2])
for name, kb in growth.items():
    row(f"RSS after 200 openings of the {name} window, over the first", f"{kb / 1024:+.2f} MB", "0")

# The memory show, watched from outside, against the ideal timeline.
click = next(int(line.split()[1]) for line in (work / "show").read_text().splitlines() if line.startswith("click"))
changes = [line.split() for line in (work / "changes").read_text().splitlines()]
onsets = [int(stamp) for (stamp, colour), (_, before) in zip(changes[1:], changes) if colour != "000000" and before == "000000"]
errors = [(onset - click) / 1e6 - (750 + k * 1500) for k, onset in enumerate(onsets)]
if len(errors) >= 2:
    ks = range(1, len(errors) + 1)
    mk, me = statistics.mean(ks), statistics.mean(errors)
    drift = sum((k - mk) * (e - me) for k, e in zip(ks, errors)) / sum((k - mk) ** 2 for k in ks)
    off = sum(abs(e) > 3 for e in errors)
    row(f"Memory show, {len(onsets)} of {colours} onsets at the fastest speed: error against the ideal timeline",
        f"max {max(errors, key=abs):+.2f} ms, mean {me:+.2f} ms, drift {drift:+.3f} ms/colour, {off} beyond ±3 ms",
        "750 + (k−1)·1500 ms after the start click")
else:
    row("Memory show", f"only {len(onsets)} onsets seen", "")

# Small figures (Google Benchmark, interleaved repetitions; CPU time, which other
# processes on the machine disturb less than wall time).
micro = {}
for run in json.loads((work / "micro.json").read_text())["benchmarks"]:
    if run.get("run_type") == "iteration":
        micro.setdefault(run["name"].split("/")[0], []).append(run["cpu_time"])


def compare(figure, name, baseline, digits=1):
    mine, base = micro[name], micro[baseline]
    factor = statistics.median(base) / statistics.median(mine)
    speed = f"{factor:.1f} × faster" if factor >= 1 else f"{1 / factor:.1f} × slower"
    row(figure, spread(mine, "ns", digits), spread(base, "ns", digits), speed)


compare("Pointer sample against a 1×1 grab", "pointerSample", "grabOnePixel")
compare("Pointer sample against a cached-image read", "pointerSample", "imagePixel")
compare("Stopwatch read against a steady_clock read", "stopwatchRead", "steadyClockRead")

# The reaction chain, from its own report.
for line in (work / "reaction").read_text().splitlines():
    if line.startswith("tick -> Start (chain)"):
        fields = line.split()
        row("Reaction chain: tick → circle painted → stopwatch Start", f"{fields[fields.index('median') + 1]} µs median",
            "")

print("| Figure | Korvane | Baseline in the same run | Ratio |")
print("|---|---|---|---|")
for r in rows:
    print("| " + " | ".join(r) + " |")
