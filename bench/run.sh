#!/usr/bin/env bash
# Runs the engine benchmark of a build and prints one line per figure:
# elements per measurement, wall time per measurement and elements per second.
# Extra arguments go to the benchmark (e.g. --benchmark_filter=koch).
#
#   bench/run.sh BUILDDIR [benchmark options]
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILDDIR [benchmark options]" >&2
    exit 2
fi
binary="$1/bin/engine_bench"
shift
if [ ! -x "$binary" ]; then
    echo "missing $binary (configure with -DKALEIDRA_BENCH=ON and build engine_bench)" >&2
    exit 2
fi

csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
"$binary" --benchmark_format=csv "$@" >"$csv"

# Columns are found by their header names, so added counters do not shift them.
awk -F, '
    NR == 1 {
        for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); column[$i] = i }
        printf "%-24s %12s %12s %14s\n", "figure", "Melements", "ms (wall)", "Melements/s"
        next
    }
    {
        name = $column["name"]; gsub(/"/, "", name); sub(/^[^\/]*\//, "", name); sub(/\/real_time$/, "", name)
        if ($column["error_occurred"] == "true") {
            printf "%-24s %s\n", name, "error: " $column["error_message"]
            failed = 1
            next
        }
        unit = $column["time_unit"]
        ms = $column["real_time"] * (unit == "ns" ? 1e-6 : unit == "us" ? 1e-3 : unit == "s" ? 1e3 : 1)
        printf "%-24s %12.3f %12.3f %14.1f\n", name, $column["elements"] / 1e6, ms, $column["items_per_second"] / 1e6
    }
    END { exit failed }
' "$csv"
