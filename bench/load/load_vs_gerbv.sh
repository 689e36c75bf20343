#!/bin/bash
# load_vs_gerbv.sh BUILD_DIR [ROUNDS]
# A job's load by BUILD_DIR/bin/ordune-tool (File/New and the project saved,
# as `ordune-tool load` does) beside `gerbv -x png` of the same copper files,
# in one run, alternating the two, ROUNDS times (default 5) per board:
#   dense      the dense synthetic board of make_boards.py (front and back)
#   hellboard  the largest corpus board (front and back copper, its drill file)
#   tile1/4/16 the hellboard's front and back, alone and as 2 x 2 and 4 x 4 tilings
# Prints per board the median wall time, CPU time (user + system) and peak
# resident memory of each, ordune / gerbv for each figure, and for the
# tilings each size's times against one tile. "save floor" is what the
# project's bytes alone cost to put on disk the way the load saves them (a
# copy forced to disk, then renamed over the copy of the round before):
# disk time that gerbv, which writes a small picture, never spends. Needs
# gerbv and python3; the
# corpus is looked for at CORPUS (default: ../shared/corpus beside the source).
# Pin to one core with CPU=<n>. Raw figures are kept in $OUT.
set -eu
BUILD=$(cd "${1:?usage: load_vs_gerbv.sh BUILD_DIR [ROUNDS]}" && pwd)
ROUNDS=${2:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
CORPUS=${CORPUS:-$HERE/../../../shared/corpus}
OUT=${OUT:-/tmp/ordune-load-vs-gerbv-$$}
TOOL=$BUILD/bin/ordune-tool
[ -x "$TOOL" ] || { echo "no $TOOL" >&2; exit 1; }
command -v gerbv >/dev/null || { echo "gerbv not found" >&2; exit 1; }
HB=$CORPUS/gerbv-examples/hellboard/hellboard
[ -f "$HB.front.gbr" ] || { echo "no corpus at $CORPUS" >&2; exit 1; }
mkdir -p "$OUT"
PIN=()
[ -n "${CPU:-}" ] && PIN=(taskset -c "$CPU")
export LC_ALL=C

python3 "$HERE/make_boards.py" dense "$OUT"
# 4.5 inches apart in the hellboard's 2.4 inch format.
for n in 2 4; do
    for side in front back; do
        python3 "$HERE/make_boards.py" tile $n 45000 "$HB.$side.gbr" "$OUT/tile$((n * n)).$side.gbr"
    done
done

# board name, then the copper files gerbv draws, then ordune-tool's options.
boards=(dense hellboard tile1 tile4 tile16)
copper() {
    case $1 in
        dense) echo "$OUT/dense.front.gbr $OUT/dense.back.gbr" ;;
        hellboard|tile1) echo "$HB.front.gbr $HB.back.gbr" ;;
        tile*) echo "$OUT/$1.front.gbr $OUT/$1.back.gbr" ;;
    esac
}
options() {
    set -- $(copper "$1") "$1"
    local extra=()
    [ "$3" = hellboard ] && extra=(--drill "$HB.plated-drill.cnc" --drill-units inch)
    echo --component "$1" --solder "$2" "${extra[@]}"
}

# One run of a command: its wall time, CPU time (user + system) and peak
# resident memory, timed to the microsecond (GNU time counts hundredths,
# too coarse for runs of a tenth of a second).
RUN='
import os, sys, time
start = time.perf_counter()
pid = os.posix_spawnp(sys.argv[2], sys.argv[2:], os.environ,
                      file_actions=[(os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
                                    (os.POSIX_SPAWN_OPEN, 2, sys.argv[1], os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)])
_, status, usage = os.wait4(pid, 0)
wall = time.perf_counter() - start
print(f"{wall:.6f} {usage.ru_utime + usage.ru_stime:.6f} {usage.ru_maxrss}")
sys.exit(os.waitstatus_to_exitcode(status))
'
measure() {  # measure LABEL COMMAND...: appends "LABEL wall cpu kB" to $OUT/figures
    local label=$1; shift
    if ! python3 -c "$RUN" "$OUT/stderr" "${PIN[@]}" "$@" >"$OUT/time"; then
        echo "failed: $*" >&2; cat "$OUT/stderr" >&2; exit 1
    fi
    read -r wall cpu kb <"$OUT/time"
    echo "$label $wall $cpu $kb" >>"$OUT/figures"
}

: >"$OUT/figures"
for r in $(seq 1 "$ROUNDS"); do
    echo "round $r" >&2
    for b in "${boards[@]}"; do
        measure "$b ordune" "$TOOL" load $(options "$b") --project "$OUT/$b.prj"
        measure "$b floor" sh -c 'dd if="$1" of="$2.tmp" bs=1M conv=fsync status=none && mv -f "$2.tmp" "$2"' \
            floor "$OUT/$b.prj" "$OUT/$b.floor"
        measure "$b gerbv" gerbv -x png -o "$OUT/$b.png" $(copper "$b")
    done
done

python3 - "$OUT/figures" "${boards[@]}" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    board, prog, wall, cpu, kb = line.split()
    rows.setdefault((board, prog), []).append((float(wall), float(cpu), int(kb)))
med = {k: [statistics.median(v[i] for v in vals) for i in range(3)] for k, vals in rows.items()}
print(f"{'board':<10}{'ordune s':>9}{'gerbv s':>9}{'ratio':>7}{'ordune cpu':>11}{'gerbv cpu':>10}{'ratio':>7}"
      f"{'ordune MB':>10}{'gerbv MB':>9}{'ratio':>7}{'save floor s':>13}")
for b in sys.argv[2:]:
    o, g = med[(b, "ordune")], med[(b, "gerbv")]
    print(f"{b:<10}{o[0]:9.3f}{g[0]:9.3f}{o[0]/g[0]:7.2f}{o[1]:11.3f}{g[1]:10.3f}{o[1]/g[1]:7.2f}"
          f"{o[2]/1024:10.1f}{g[2]/1024:9.1f}{o[2]/g[2]:7.2f}{med[(b, 'floor')][0]:13.3f}")
one = med[("tile1", "ordune")]
for b in ("tile4", "tile16"):
    o, g1, g = med[(b, "ordune")], med[("tile1", "gerbv")], med[(b, "gerbv")]
    print(f"{b} against tile1: ordune wall x{o[0]/one[0]:.1f} cpu x{o[1]/one[1]:.1f} memory x{o[2]/one[2]:.1f}; "
          f"gerbv wall x{g[0]/g1[0]:.1f} cpu x{g[1]/g1[1]:.1f}")
print("medians of", len(rows[(sys.argv[2], 'ordune')]), "rounds; wall and cpu (user + system) in seconds")
PY
echo "raw figures: $OUT/figures"
