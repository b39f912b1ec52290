#!/usr/bin/env bash
# Measures kaleidra-render against the bare constructions of
# kaleidra-baseline, in one run on one machine, and prints for every kind the
# elements per second of the bounds and of a 2048x2048 aliased raster: the
# baseline, the renderer through QPainter (before our rasteriser) and the
# renderer as it is. Then checks the targets on Heighway's dragon at 24 days:
#   bounds   --bounds-only at most 2x the bare recursion, peak RSS <= 30 MB
#   raster   drawing (PNG encoding excluded, shown apart) at most 2x the
#            fused recursion + Bresenham into an 8-bit buffer
# and that every box equals the baseline's within 1e-9 of the figure's size.
#
#   bench/render_bench.sh BUILDDIR [REPEATS]     (best of REPEATS, default 3)
# Exit status 1 when a target is missed.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILDDIR [REPEATS]" >&2
    exit 2
fi
render="$1/bin/kaleidra-render"
baseline="$1/bin/kaleidra-baseline"
repeats="${2:-3}"
for binary in "$render" "$baseline"; do
    if [ ! -x "$binary" ]; then
        echo "missing $binary (build kaleidra-render and kaleidra-baseline)" >&2
        exit 2
    fi
done

exec python3 - "$render" "$baseline" "$repeats" <<'PYTHON'
import json, os, subprocess, sys, tempfile, time

render, baseline, repeats = sys.argv[1], sys.argv[2], int(sys.argv[3])
figures = [  # name, preset, days
    ("koch", "0:9", 10),
    ("fern", "1:8", 9),
    ("gasket", "2:0", 8),
    ("hilbert", "3:1", 10),
    ("dragon", "4:10", 24),
]
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
scratch = tempfile.mkdtemp(prefix="kaleidra-bench-")
png = os.path.join(scratch, "raster.png")

def run(args):
    start = time.perf_counter()
    out = subprocess.run(args, check=True, capture_output=True, text=True, env=env).stdout
    wall = time.perf_counter() - start
    return json.loads(out.strip().splitlines()[-1]), wall

def best(args, key):
    runs = [run(args) for _ in range(repeats)]
    return min(runs, key=lambda r: key(r[0], r[1]))

rows, failures = [], []
for name, preset, days in figures:
    base, base_wall = best([baseline, name, str(days), "--raster", "2048"],
                           lambda j, w: j["seconds_bounds"] + j["seconds_raster"])
    bounds, bounds_wall = best([render, "--bounds-only", "--preset", preset, "--days", str(days),
                                "--stats", "-q"], lambda j, w: w)
    common = [render, "--preset", preset, "--days", str(days), "--no-antialias",
              "-s", "2048x2048", "-o", png, "--stats", "-q"]
    after, _ = best(common, lambda j, w: j["seconds_draw"])
    before, _ = best(common + ["--raster-path", "painter"], lambda j, w: j["seconds_draw"])
    # The bare recursion alone, as a process, for the ratio of whole runs.
    _, bare_wall = best([baseline, name, str(days)], lambda j, w: w)

    elements = after["lines"] + after["pixels"] + after["moves"]
    b, r = base["bounds"], bounds["bounds"]
    size = max(b["maxX"] - b["minX"], b["maxY"] - b["minY"])
    drift = max(abs(b[k] - r[k]) for k in ("minX", "maxX", "minY", "maxY")) / size
    if drift > 1e-9:
        failures.append(f"{name}: box differs from the baseline by {drift:.3g} of its size")
    if elements != base["elements"]:
        failures.append(f"{name}: {elements} elements drawn, the baseline draws {base['elements']}")
    m = lambda seconds: elements / seconds / 1e6 if seconds > 0 else float("inf")
    rows.append((name, elements, m(base["seconds_bounds"]), m(bounds["seconds_bounds"]),
                 m(base["seconds_raster"]), m(before["seconds_draw"]), m(after["seconds_draw"]),
                 after["seconds_encode"], bounds["peak_rss_mb"]))
    if name == "dragon":
        dragon = dict(bounds_ratio=bounds_wall / bare_wall,
                      bounds_inner=bounds["seconds_bounds"] / base["seconds_bounds"],
                      rss=bounds["peak_rss_mb"],
                      raster_ratio=after["seconds_draw"] / base["seconds_raster"],
                      painter_ratio=before["seconds_draw"] / base["seconds_raster"],
                      encode=after["seconds_encode"])

print(f"{'figure':<9} {'Melem':>8} | {'bounds Melem/s':^21} | {'raster 2048 Melem/s':^32} | {'encode':>7} {'RSS':>6}")
print(f"{'':<9} {'':>8} | {'baseline':>10} {'render':>10} | {'baseline':>10} {'painter':>10} {'direct':>10} | {'s':>7} {'MB':>6}")
for name, elements, bb, rb, br, pr, dr, enc, rss in rows:
    print(f"{name:<9} {elements / 1e6:8.3f} | {bb:10.1f} {rb:10.1f} | {br:10.1f} {pr:10.1f} {dr:10.1f} | {enc:7.3f} {rss:6.1f}")

d = dragon
print()
print(f"dragon bounds: whole run {d['bounds_ratio']:.2f}x the bare recursion's run "
      f"(inner {d['bounds_inner']:.2f}x), peak RSS {d['rss']:.1f} MB")
print(f"dragon raster: {d['raster_ratio']:.2f}x the fused baseline (QPainter: "
      f"{d['painter_ratio']:.2f}x), PNG encoding {d['encode']:.3f} s apart")
if d["bounds_ratio"] > 2.0:
    failures.append(f"bounds run {d['bounds_ratio']:.2f}x the baseline (target 2x)")
if d["rss"] > 30.0:
    failures.append(f"bounds peak RSS {d['rss']:.1f} MB (target 30 MB)")
if d["raster_ratio"] > 2.0:
    failures.append(f"raster {d['raster_ratio']:.2f}x the baseline (target 2x)")
for f in failures:
    print("MISSED:", f)
print("all targets met" if not failures else f"{len(failures)} target(s) missed")
os.remove(png) if os.path.exists(png) else None
os.rmdir(scratch)
sys.exit(1 if failures else 0)
PYTHON
