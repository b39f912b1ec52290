#!/usr/bin/env bash
# Screenshots of the desktop program, for reviewing what users see.
#
#   tools/screenshot.sh OUTPUT_DIR [BUILD_DIR]
#
# Starts the program under a virtual X server (xvfb-run, from `make deps`)
# once per picture, with a few built-in fractals open, and lets the program
# grab its own main window once every drawing has finished
# (--screenshot). Writes one PNG per picture into OUTPUT_DIR and lists them.
# Exits non-zero when a picture could not be made.

set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 OUTPUT_DIR [BUILD_DIR]" >&2
    exit 2
fi
out=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${2:-$root/build}
program=$build/bin/kaleidra

if [[ ! -x $program ]]; then
    echo "$program is missing: build the project first (make build)" >&2
    exit 1
fi
if ! command -v xvfb-run > /dev/null; then
    echo "xvfb-run is missing: run make deps" >&2
    exit 1
fi
mkdir -p "$out"

failed=0
# shoot NAME ARGUMENTS...: one run of the program, one picture.
shoot() {
    local name=$1
    shift
    local picture=$out/$name.png
    rm -f "$picture"
    # The program finds its bundles beside itself; a developer's
    # KALEIDRA_BUNDLE_DIR must not point it elsewhere.
    if env -u KALEIDRA_BUNDLE_DIR XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}" \
        timeout 300 xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" \
        "$program" --unattended "$@" --screenshot "$picture" 2> "$out/$name.log" &&
        [[ -s $picture ]]; then
        echo "$picture"
        rm -f "$out/$name.log"
    else
        echo "FAILED: $picture (see $out/$name.log)" >&2
        failed=1
    fi
}

# No document: the main tool bar and the colour bar only.
shoot empty --english
# One fractal of each kind, tiled side by side.
shoot one-of-each --english --preset 0:0 --preset 1:3 --preset 2:1 --preset 3:2 --preset 4:5
# Three standard fractals with the French bundle.
shoot french --french --preset 0:4 --preset 0:7 --preset 0:11
# A single window, in German.
shoot german --german --preset 3:6
# The three drawing boards, each with a document of some substance: a
# generator with plain, final and invisible steps on its reference, a
# triangular initiator, and three affine maps.
samples=$(mktemp -d)
trap 'rm -rf "$samples"' EXIT
cat > "$samples/snowflake.gen" << 'EOF'
[generator] 5
0,0,0.333333
0,-1.0472,0.333333
4,1.0472,0.333333
0,0,0.333333
2,2.0944,0.2
EOF
cat > "$samples/triangle.init" << 'EOF'
[initiators] 3
0,0
1,0
0.5,-0.866025
0,0
EOF
cat > "$samples/gasket.maps" << 'EOF'
[affine] 3
( 0.5,0,0,0.5 ) ( 0,0 )
( 0.5,0,0,0.5 ) ( 0.5,0 )
( 0.433013,-0.25,0.25,0.433013 ) ( 0.25,0.433013 )
EOF
shoot generator --english "$samples/snowflake.gen"
shoot initiator --english "$samples/triangle.init"
shoot maps --english "$samples/gasket.maps"
# The list editors and the compass, on the sample components of the tests.
components=$root/tests/data/components
shoot lsystem --english "$components/hilbert.lsys"
shoot automaton --english "$components/dragon.auto"
shoot directions --english "$components/square.dirs"

exit $failed
