#!/bin/bash
# offset_vs_scan.sh BUILD_DIR [ROUNDS] [OTHER_BUILD_DIR]
# The offset-path calculation (`ordune-tool calc --engine offset`: the six
# passes of the new isolation paths, tool-3 PATH and clearing) beside the
# scan-line path calculation (`--engine scan`) on every copper side of the
# corpus, each side loaded alone as the component side, in one run,
# alternating the two, ROUNDS times (default 3) per side. Prints per side the
# median CPU time (user + system; the machine may be shared) of each engine
# and offset / scan, and the median wall times. With OTHER_BUILD_DIR the
# offset engine of that build is timed too (a column "other", for a before
# and after in one run). Needs python3 and the corpus (CORPUS, default
# ../shared/corpus beside the source). Pin to one core with CPU=<n>. Raw
# figures are kept in $OUT.
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
)

# The wall and CPU time (user + system) of one command in seconds.
RUN='
import os, sys, time
start = time.perf_counter()
pid = os.posix_spawnp(sys.argv[2], sys.argv[2:], os.environ,
                      file_actions=[(os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
                                    (os.POSIX_SPAWN_OPEN, 2, sys.argv[1], os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)])
_, status, usage = os.wait4(pid, 0)
print(f"{time.perf_counter() - start:.6f} {usage.ru_utime + usage.ru_stime:.6f}")
sys.exit(os.waitstatus_to_exitcode(status))
'
measure() {  # measure LABEL COMMAND...: appends "LABEL wall cpu" to $OUT/figures
    local label=$1; shift
    if ! python3 -c "$RUN" "$OUT/stderr" "${PIN[@]}" "$@" >"$OUT/time"; then
        echo "failed: $*" >&2; cat "$OUT/stderr" >&2; exit 1
    fi
    echo "$label $(cat "$OUT/time")" >>"$OUT/figures"
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
    row += "".join(f" {median(name, e, 0) / median(name, 'scan', 0):12.2f}" for e in engines[1:])
    row += "".join(f" {median(name, e, 1):13.3f}" for e in engines)
    print(row)
EOF
