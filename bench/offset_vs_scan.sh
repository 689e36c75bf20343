#!/bin/bash
# offset_vs_scan.sh BUILD_DIR [ROUNDS] [OTHER_BUILD_DIR]
# The offset-path calculation (`ordune-tool calc --engine offset`: the six
# passes of the new isolation paths, tool-3 PATH and clearing) beside the
# scan-line path calculation (`--engine scan`) on every copper side of the
# corpus and on a made hatched pour (150 level and 150 upright strokes of
# 8 mil at a 20 mil pitch: one group of 300 tracks that trimming cuts into
# 90,000 pieces), each side loaded alone as the component side, in one run,
# alternating the engines, ROUNDS times (default 3) per side. Prints per
# side the median CPU time (user + system; the machine may be shared) of
# each engine, offset / scan, and the median wall times (GNU time, to the
# hundredth). With OTHER_BUILD_DIR the offset engine of that build is timed
# too (a column "other": a before and after in one run). Needs python3, GNU
# time and the corpus (CORPUS, default ../shared/corpus beside the source).
# Pin to one core with CPU=<n>. Raw figures are kept in $OUT.
set -eu
BUILD=$(cd "${1:?usage: offset_vs_scan.sh BUILD_DIR [ROUNDS] [OTHER_BUILD_DIR]}" && pwd)
ROUNDS=${2:-3}
OTHER=${3:+$(cd "$3" && pwd)}
HERE=$(cd "$(dirname "$0")" && pwd)
CORPUS=${CORPUS:-$HERE/../../shared/corpus}
OUT=${OUT:-/tmp/ordune-offset-vs-scan-$$}
TOOL=$BUILD/bin/ordune-tool
[ -x "$TOOL" ] || { echo "no $TOOL" >&2; exit 1; }
[ -d "$CORPUS/boards" ] || { echo "no corpus at $CORPUS" >&2; exit 1; }
mkdir -p "$OUT"
: >"$OUT/figures"
PIN=()
[ -n "${CPU:-}" ] && PIN=(taskset -c "$CPU")
export LC_ALL=C
B=$CORPUS/boards G=$CORPUS/gerbv-examples

python3 - "$OUT/hatch.gbr" <<'EOF'
import sys
n, pitch, width = 150, 20.0, 8.0
unit = lambda mil: int(round(mil * 10))  # 2.4 inch format
out = ["%FSLAX24Y24*%", "%MOIN*%", f"%ADD10C,{width / 1000:.4f}*%", "G01*", "D10*"]
for i in range(n):
    at, end = 1000 + i * pitch, 1000 + n * pitch
    out += [f"X{unit(1000)}Y{unit(at)}D02*", f"X{unit(end)}Y{unit(at)}D01*",
            f"X{unit(at)}Y{unit(1000)}D02*", f"X{unit(at)}Y{unit(end)}D01*"]
open(sys.argv[1], "w").write("\n".join(out + ["M02*"]) + "\n")
EOF

# side name, then ordune-tool load's options for it.
sides=(
  "d1mini.F_Cu|--component $B/D1MiniGSR/D1MiniGSR-F_Cu.gbr"
  "d1mini.B_Cu|--component $B/D1MiniGSR/D1MiniGSR-B_Cu.gbr"
  "example.F_Cu|--component $B/example_board_new_default/example_board-F.Cu.gbr"
  "example.B_Cu|--component $B/example_board_new_default/example_board-B.Cu.gbr"
  "multivibrator.B_Cu|--component $B/multivibrator/multivibrator-B.Cu.gbr"
  "controller.B_Cu|--component $B/project-controller/project-controller-B_Cu.gbr"
  "ekf.l1|--component $G/ekf/l1.off --component-apertures $G/ekf/ekf.gap --dialect WORKBENCH"
  "orcad.top|--component $G/orcad/rs232_cm.top"
  "orcad.bot|--component $G/orcad/rs232_cm.bot"
  "hellboard.front|--component $G/hellboard/hellboard.front.gbr"
  "hellboard.back|--component $G/hellboard/hellboard.back.gbr"
  "hellboard.group1|--component $G/hellboard/hellboard.group1.gbr"
  "hellboard.group2|--component $G/hellboard/hellboard.group2.gbr"
  "hatch(made)|--component $OUT/hatch.gbr"
)

command -v /usr/bin/time >/dev/null || { echo "GNU time (/usr/bin/time) not found" >&2; exit 1; }
measure() {  # measure LABEL COMMAND...: appends "LABEL wall cpu" (seconds) to $OUT/figures
    local label=$1; shift
    if ! /usr/bin/time -o "$OUT/time" -f "%e %U %S" "${PIN[@]}" "$@" >/dev/null 2>"$OUT/stderr"; then
        echo "failed: $*" >&2; cat "$OUT/stderr" >&2; exit 1
    fi
    read -r wall user system <"$OUT/time"
    echo "$label $wall $(python3 -c "print($user + $system)")" >>"$OUT/figures"
}

for entry in "${sides[@]}"; do
    name=${entry%%|*}
    IFS=' ' read -r -a args <<<"${entry#*|}"
    "$TOOL" load "${args[@]}" --project "$OUT/$name.prj" >/dev/null 2>"$OUT/load.err" ||
        { echo "load failed: $name" >&2; cat "$OUT/load.err" >&2; exit 1; }
    for ((round = 0; round < ROUNDS; ++round)); do
        measure "$name scan" "$TOOL" calc "$OUT/$name.prj" --out "$OUT/scan.prj" --engine scan
        measure "$name offset" "$TOOL" calc "$OUT/$name.prj" --out "$OUT/offset.prj" --engine offset
        [ -n "$OTHER" ] &&
            measure "$name other" "$OTHER/bin/ordune-tool" calc "$OUT/$name.prj" --out "$OUT/other.prj" --engine offset
    done
done

python3 - "$OUT/figures" "${OTHER:+other}" <<'EOF'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    name, engine, wall, cpu = line.split()
    runs.setdefault(name, {}).setdefault(engine, []).append((float(cpu), float(wall)))
engines = ["scan", "offset"] + (["other"] if len(sys.argv) > 2 and sys.argv[2] else [])
def median(name, engine, which):
    return statistics.median(r[which] for r in runs[name][engine])
head = f"{'side':18}" + "".join(f" {e + ' cpu s':>12}" for e in engines)
head += "".join(f" {e + '/scan':>12}" for e in engines[1:])
head += "".join(f" {e + ' wall s':>13}" for e in engines)
print(head)
for name in runs:
    row = f"{name:18}" + "".join(f" {median(name, e, 0):12.3f}" for e in engines)
    scan = median(name, "scan", 0)
    # A side too small for the clock's hundredths has no ratio.
    row += "".join(f" {median(name, e, 0) / scan:12.2f}" if scan > 0 else f" {'-':>12}"
                   for e in engines[1:])
    row += "".join(f" {median(name, e, 1):13.3f}" for e in engines)
    print(row)
EOF
