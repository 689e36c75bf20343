#!/bin/bash
# same_projects.sh OLD_BUILD NEW_BUILD
# Loads every corpus job (in its variants), the dense synthetic board and the
# 4 x 4 tiling with OLD_BUILD/bin/ordune-tool and NEW_BUILD/bin/ordune-tool,
# each saving to the same project path, and compares the saved projects byte
# for byte, the exit codes and what each printed. Prints one line per job and
# exits 1 when any job differs. Needs the corpus (CORPUS, default
# ../shared/corpus beside the source).
set -u
OLD=$(cd "${1:?usage: same_projects.sh OLD_BUILD NEW_BUILD}" && pwd)/bin/ordune-tool
NEW=$(cd "${2:?usage: same_projects.sh OLD_BUILD NEW_BUILD}" && pwd)/bin/ordune-tool
HERE=$(cd "$(dirname "$0")" && pwd)
CORPUS=${CORPUS:-$HERE/../../../shared/corpus}
[ -d "$CORPUS/boards" ] || { echo "no corpus at $CORPUS" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
B=$CORPUS/boards G=$CORPUS/gerbv-examples
python3 "$HERE/make_boards.py" dense "$WORK" >/dev/null
for side in front back; do
    python3 "$HERE/make_boards.py" tile 4 45000 "$G/hellboard/hellboard.$side.gbr" "$WORK/tile16.$side.gbr" >/dev/null
done
jobs=(
  "d1mini|--component $B/D1MiniGSR/D1MiniGSR-F_Cu.gbr --solder $B/D1MiniGSR/D1MiniGSR-B_Cu.gbr --drill $B/D1MiniGSR/D1MiniGSR-PTH.drl --drill-units mm --route $B/D1MiniGSR/D1MiniGSR-Edge_Cuts.gbr"
  "d1mini-noauto|--component $B/D1MiniGSR/D1MiniGSR-F_Cu.gbr --solder $B/D1MiniGSR/D1MiniGSR-B_Cu.gbr --drill $B/D1MiniGSR/D1MiniGSR-PTH.drl --drill-units mm --file-auto 0"
  "d1mini-list|--solder $B/D1MiniGSR/D1MiniGSR-B_Cu.gbr;$B/D1MiniGSR/D1MiniGSR-Edge_Cuts.gbr"
  "example|--component $B/example_board_new_default/example_board-F.Cu.gbr --solder $B/example_board_new_default/example_board-B.Cu.gbr --drill $B/example_board_new_default/example_board-PTH.drl --drill-units mm --route $B/example_board_new_default/example_board-Edge.Cuts.gbr"
  "multivibrator|--solder $B/multivibrator/multivibrator-B.Cu.gbr --drill $B/multivibrator/multivibrator.drl --drill-units mm --route $B/multivibrator/multivibrator-Edge.Cuts.gbr"
  "controller|--solder $B/project-controller/project-controller-B_Cu.gbr --drill $B/project-controller/project-controller.drl --drill-units mm --route $B/project-controller/project-controller-Edge_Cuts.gbr"
  "controller-route-only|--route $B/project-controller/project-controller-Edge_Cuts.gbr"
  "ekf|--solder $G/ekf/l1.off --solder-apertures $G/ekf/ekf.gap"
  "ekf-apt|--component $G/ekf/l1.off --component-apertures $G/ekf/ekf_08.apt"
  "orcad|--component $G/orcad/rs232_cm.top --solder $G/orcad/rs232_cm.bot --drill $G/orcad/rs232_cm.drd"
  "orcad-noauto|--component $G/orcad/rs232_cm.top --solder $G/orcad/rs232_cm.bot --file-auto 0"
  "hellboard|--component $G/hellboard/hellboard.front.gbr --solder $G/hellboard/hellboard.back.gbr --drill $G/hellboard/hellboard.plated-drill.cnc --drill-units inch"
  "hellboard-groups|--component $G/hellboard/hellboard.group1.gbr;$G/hellboard/hellboard.group2.gbr --solder $G/hellboard/hellboard.fab.gbr"
  "hellboard-noauto|--component $G/hellboard/hellboard.front.gbr --solder $G/hellboard/hellboard.back.gbr --file-auto 0"
  "drill-only|--drill $G/hellboard/hellboard.plated-drill.cnc --drill-units inch"
  "missing|--component $WORK/none.gbr --solder $G/hellboard/hellboard.back.gbr"
  "dense|--component $WORK/dense.front.gbr --solder $WORK/dense.back.gbr"
  "tile16|--component $WORK/tile16.front.gbr --solder $WORK/tile16.back.gbr"
)
status=0
for job in "${jobs[@]}"; do
    name=${job%%|*}
    IFS=' ' read -r -a args <<<"${job#*|}"
    for which in old new; do
        tool=$OLD; [ $which = new ] && tool=$NEW
        rm -f "$WORK/job.prj"
        "$tool" load "${args[@]}" --project "$WORK/job.prj" >"$WORK/$which.out" 2>&1
        echo "exit $?" >>"$WORK/$which.out"
        if [ -f "$WORK/job.prj" ]; then mv "$WORK/job.prj" "$WORK/$which.prj"; else : >"$WORK/$which.prj"; fi
    done
    if cmp -s "$WORK/old.prj" "$WORK/new.prj" && cmp -s "$WORK/old.out" "$WORK/new.out"; then
        echo "same     $name ($(stat -c %s "$WORK/new.prj") bytes, $(tail -n1 "$WORK/new.out"))"
    else
        echo "DIFFERS  $name"; diff "$WORK/old.out" "$WORK/new.out" | head -5
        cmp "$WORK/old.prj" "$WORK/new.prj" | head -2
        status=1
    fi
done
exit $status
