#!/usr/bin/env bash
# Measures kaleidra-render against the machine's limits, in one run: the
# baseline program of ../shared/bench/limits (built here with its own
# build.sh into a temporary directory, never into the project) gives the
# bare recursion (geom_lsys) and the recursion fused with Bresenham into an
# 8-bit 2048x2048 buffer (raster_stream), both single-threaded, for
# Heighway's dragon at 24 days. Then, for every kind:
#   bounds       --bounds-only, seconds_bounds
#   aliased      2048x2048 --no-antialias, seconds_draw, our rasteriser and
#                QPainter (--raster-path painter)
#   antialiased  1000x1000, seconds_draw, ours and QPainter, and the mean
#                absolute difference per channel between the two pictures
# in elements per second and as ratios to the probe. Every figure is the
# best of REPEATS runs (default 3). Then the targets on the dragon: aliased
# raster at most 1.2x raster_stream, bounds at most 1.5x geom_lsys with a
# peak RSS under 30 MB, antialiased at least 10x QPainter, PNG encoding of
# 1000x1000 at most 15 ms, and, when Context Free's cfdg is installed, the
# whole process for the dragon at 20 days at least 50x faster than cfdg's
# (medians of REPEATS whole runs of each).
#
#   bench/limits.sh BUILDDIR [REPEATS]
# Environment: KALEIDRA_LIMITS overrides the baseline's source directory.
# Exit status 1 when a target is missed, 2 when something is missing.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILDDIR [REPEATS]" >&2
    exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
render="$1/bin/kaleidra-render"
repeats="${2:-3}"
limits="${KALEIDRA_LIMITS:-$here/../../shared/bench/limits}"
if [ ! -x "$render" ]; then
    echo "missing $render (build kaleidra-render)" >&2
    exit 2
fi
if [ ! -f "$limits/build.sh" ]; then
    echo "missing the baseline program's sources in $limits (set KALEIDRA_LIMITS)" >&2
    exit 2
fi

scratch="$(mktemp -d "${TMPDIR:-/tmp}/kaleidra-limits.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
cp -R "$limits" "$scratch/limits"
sh "$scratch/limits/build.sh" >/dev/null
probe="$scratch/limits/probe"
cfdg="$(command -v cfdg || true)"

exec python3 - "$render" "$probe" "$repeats" "$scratch" "$cfdg" <<'PYTHON'
import json, os, statistics, struct, subprocess, sys, time, zlib

render, probe, repeats, scratch, cfdg = sys.argv[1:6]
repeats = int(repeats)
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
figures = [  # name, preset, days
    ("koch", "0:9", 10),
    ("fern", "1:8", 9),
    ("gasket", "2:0", 8),
    ("hilbert", "3:1", 10),
    ("dragon", "4:10", 24),
]
aa_presets = [("koch", "0:9", 6), ("fern", "1:8", 8), ("gasket", "2:0", 6),
              ("hilbert", "3:1", 7), ("dragon", "4:10", 20)]

def stats(args):
    out = subprocess.run([render] + args + ["--stats", "-q"], check=True,
                         capture_output=True, text=True, env=env).stdout
    return json.loads(out.strip().splitlines()[-1])

def best(args, key):
    return min((stats(args) for _ in range(repeats)), key=lambda j: j[key])

def probe_run(test):
    out = subprocess.run([probe, test, "24", str(max(repeats, 3))], check=True,
                         capture_output=True, text=True).stdout
    return json.loads(out.strip().splitlines()[-1])

def read_png(path):
    """8-bit grey/RGB/RGBA/palette PNG, any filter, as a flat list of RGB bytes."""
    data = open(path, "rb").read()
    pos, idat, palette = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, ctype = struct.unpack(">IIBB", body[:10])
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[ctype]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride if f != 0 else 0):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        rows.append(bytes(line))
        previous = line
    if ctype == 2:
        return b"".join(rows)
    rgb = bytearray()
    for line in rows:
        for x in range(width):
            px = line[x * channels:(x + 1) * channels]
            if ctype == 3:
                rgb += palette[px[0] * 3:px[0] * 3 + 3]
            elif ctype == 0:
                rgb += bytes([px[0]] * 3)
            else:
                rgb += px[:3]
    return rgb

def mean_abs_diff(a, b):
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)

# Other work on the machine skews every figure, threads most: say how busy it
# was, before and after.
print("load average (1, 5, 15 min) at the start: %.2f %.2f %.2f" % os.getloadavg())
geom = probe_run("geom_lsys")
stream = probe_run("raster_stream")
print(f"probe (single-threaded, dragon 24 = {geom['segments']} segments): "
      f"geom_lsys {geom['median_s']:.4f} s = {geom['seg_per_s'] / 1e6:.1f} M/s, "
      f"raster_stream {stream['median_s']:.4f} s = {stream['seg_per_s'] / 1e6:.1f} M/s")
print()

png = os.path.join(scratch, "picture.png")
rows, failures, dragon = [], [], {}
for name, preset, days in figures:
    base = ["--preset", preset, "--days", str(days)]
    bounds = best(base + ["--bounds-only"], "seconds_bounds")
    aliased = base + ["-s", "2048x2048", "--no-antialias", "-o", png]
    direct = best(aliased, "seconds_draw")
    painter = best(aliased + ["--raster-path", "painter"], "seconds_draw")
    smooth = base + ["-s", "1000x1000", "-o", png]
    aa_direct = best(smooth, "seconds_draw")
    aa_painter = best(smooth + ["--raster-path", "painter"], "seconds_draw")
    elements = direct["lines"] + direct["pixels"] + direct["moves"]
    for other in (painter, aa_direct, aa_painter):
        if other["lines"] + other["pixels"] + other["moves"] != elements:
            failures.append(f"{name}: the paths draw different element counts")
    rate = lambda s: elements / s / 1e6 if s > 0 else float("inf")
    rows.append((name, days, elements, rate(bounds["seconds_bounds"]), rate(direct["seconds_draw"]),
                 rate(painter["seconds_draw"]), rate(aa_direct["seconds_draw"]),
                 rate(aa_painter["seconds_draw"])))
    if name == "dragon":
        dragon = dict(bounds=bounds, direct=direct, painter=painter)

print(f"{'figure':<8} {'days':>4} {'Melem':>8} | {'bounds':>8} {'ratio':>6} | "
      f"{'aliased':>8} {'ratio':>6} {'QPainter':>8} | {'AA':>8} {'ratio':>6} {'QPainter':>8} {'AA gain':>7}")
print(f"{'':<8} {'':>4} {'':>8} | {'Melem/s':>8} {'probe':>6} | {'Melem/s':>8} {'probe':>6} "
      f"{'Melem/s':>8} | {'Melem/s':>8} {'probe':>6} {'Melem/s':>8} {'x':>7}")
g, r = geom["seg_per_s"] / 1e6, stream["seg_per_s"] / 1e6
for name, days, elements, b, d, p, ad, ap in rows:
    print(f"{name:<8} {days:>4} {elements / 1e6:8.3f} | {b:8.1f} {b / g:6.2f} | {d:8.1f} {d / r:6.2f} "
          f"{p:8.1f} | {ad:8.1f} {ad / r:6.2f} {ap:8.1f} {ad / ap:7.1f}")
print("(ratio probe: our elements per second over the probe's segments per second; above 1 is faster)")
print()

# Antialiased pictures: ours against QPainter's, and the speed on the dragon.
diffs = []
for name, preset, days in aa_presets:
    mine, theirs = os.path.join(scratch, "mine.png"), os.path.join(scratch, "theirs.png")
    base = ["--preset", preset, "--days", str(days), "-s", "1000x1000"]
    stats(base + ["-o", mine])
    stats(base + ["-o", theirs, "--raster-path", "painter"])
    diffs.append((name, mean_abs_diff(read_png(mine), read_png(theirs))))
print("antialiased, ours vs QPainter, mean absolute difference per channel (of 255), 1000x1000: " +
      ", ".join(f"{n} {d:.3f}" for n, d in diffs))
smooth = ["--preset", "4:10", "--days", "20", "-s", "1000x1000", "-o", png]
aa_d = best(smooth, "seconds_draw")
aa_p = best(smooth + ["--raster-path", "painter"], "seconds_draw")
encode = min(stats(smooth)["seconds_encode"] for _ in range(repeats))
aa_gain = aa_p["seconds_draw"] / aa_d["seconds_draw"]
print(f"dragon 20 antialiased 1000x1000: ours {aa_d['seconds_draw']:.4f} s, QPainter "
      f"{aa_p['seconds_draw']:.4f} s: {aa_gain:.1f}x; PNG encoding and writing {encode * 1000:.1f} ms")

d = dragon
raster_ratio = d["direct"]["seconds_draw"] / stream["median_s"]
bounds_ratio = d["bounds"]["seconds_bounds"] / geom["median_s"]
rss = d["bounds"]["peak_rss_mb"]
print(f"dragon 24 aliased 2048x2048: {d['direct']['seconds_draw']:.4f} s = {raster_ratio:.2f}x "
      f"raster_stream (QPainter {d['painter']['seconds_draw'] / stream['median_s']:.2f}x)")
print(f"dragon 24 bounds: {d['bounds']['seconds_bounds']:.4f} s = {bounds_ratio:.2f}x geom_lsys, "
      f"peak RSS {rss:.1f} MB")

if cfdg:
    grammar = os.path.join(scratch, "dragon.cfdg")
    with open(grammar, "w") as f:
        f.write("startshape Dragon(20)\n"
                "shape Dragon(natural n)\n{\n  if (n > 0) {\n"
                "    Dragon(n--1) [r 45 s 0.7071067811865476]\n"
                "    Dragon(n--1) [x 1 r 135 s 0.7071067811865476]\n"
                "  } else {\n    SQUARE [x 0.5 s 1.5 1]\n  }\n}\n")
    def whole(args):
        start = time.perf_counter()
        subprocess.run(args, check=True, capture_output=True, env=env)
        return time.perf_counter() - start
    ours = statistics.median(whole([render, "--preset", "4:10", "--days", "20", "-s",
                                    "1000x1000", "-o", png, "-q"]) for _ in range(repeats))
    theirs = statistics.median(whole([cfdg, "-q", "-s", "1000", "-m", "5000000", grammar,
                                      os.path.join(scratch, "cfdg.png")]) for _ in range(repeats))
    whole_gain = theirs / ours
    print(f"whole process, dragon 20 to a 1000x1000 antialiased PNG: ours {ours:.3f} s, cfdg "
          f"{theirs:.3f} s: {whole_gain:.1f}x (medians of {repeats})")
else:
    whole_gain = None
    print("cfdg not installed (Debian package contextfree): the whole-process comparison is skipped")

for name, diff in diffs:
    if diff >= 2.0:
        failures.append(f"antialiased {name} differs from QPainter by {diff:.2f} levels (target < 2)")
if raster_ratio > 1.2:
    failures.append(f"aliased raster {raster_ratio:.2f}x raster_stream (target 1.2x)")
if bounds_ratio > 1.5:
    failures.append(f"bounds {bounds_ratio:.2f}x geom_lsys (target 1.5x)")
if rss > 30.0:
    failures.append(f"bounds peak RSS {rss:.1f} MB (target 30 MB)")
if aa_gain < 10.0:
    failures.append(f"antialiased raster {aa_gain:.1f}x QPainter (target 10x)")
if encode > 0.015:
    failures.append(f"PNG encoding {encode * 1000:.1f} ms (target 15 ms)")
if whole_gain is not None and whole_gain < 50.0:
    failures.append(f"whole process {whole_gain:.1f}x cfdg (target 50x)")
print("load average (1, 5, 15 min) at the end: %.2f %.2f %.2f" % os.getloadavg())
print()
for f in failures:
    print("MISSED:", f)
print("all targets met" if not failures else f"{len(failures)} target(s) missed")
sys.exit(1 if failures else 0)
PYTHON
