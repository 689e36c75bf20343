#!/bin/bash
# large_regions.sh REFERENCE_BUILD_DIR BUILD_DIR [TIMEOUT_SECONDS]
# Loads small Gerber files of large copper areas with `ordune-tool load` of
# two builds, side by side in one run: the wall time, the peak resident
# memory and the size of the project written. A load that runs past the
# timeout (default 300 s) is stopped and shown as such.
#   two-40-70   two overlapping square areas 40 and 70 inches wide
#   square-30   one square area 30 inches wide
#   comb-30     one area 30 inches wide of 300 teeth (600 crossings a column)
#   two-10-17   two overlapping square areas 10 and 17 inches wide
set -eu
REF=$(cd "${1:?usage: large_regions.sh REFERENCE_BUILD_DIR BUILD_DIR [TIMEOUT]}" && pwd)
NEW=$(cd "${2:?usage: large_regions.sh REFERENCE_BUILD_DIR BUILD_DIR [TIMEOUT]}" && pwd)
LIMIT=${3:-300}
OUT=$(mktemp -d /tmp/ordune-large-regions-XXXXXX)
trap 'rm -rf "$OUT"' EXIT

# squares FILE INCHES...: overlapping squares from the origin.
squares() {
  local file=$1; shift
  { printf '%%FSLAX24Y24*%%\n%%MOIN*%%\n%%ADD10C,0.010*%%\nG01*\nD10*\n'
    for s in "$@"; do
      local v=$((s * 10000))
      printf 'G36*\nX0Y0D02*\nX%dY0D01*\nX%dY%dD01*\nX0Y%dD01*\nX0Y0D01*\nG37*\n' $v $v $v $v
    done
    printf 'M02*\n'; } > "$file"
}
# comb FILE INCHES TEETH: a spine on the left, teeth 50 mil high across.
comb() {
  local file=$1 w=$(($2 * 10000)) teeth=$3
  { printf '%%FSLAX24Y24*%%\n%%MOIN*%%\n%%ADD10C,0.010*%%\nG01*\nD10*\nG36*\nX0Y0D02*\n'
    for ((k = 0; k < teeth; k++)); do
      printf 'X%dY%dD01*\nX%dY%dD01*\n' $w $((1000 * k)) $w $((1000 * k + 500))
      ((k + 1 < teeth)) && printf 'X500Y%dD01*\nX500Y%dD01*\n' $((1000 * k + 500)) $((1000 * k + 1000))
    done
    printf 'X0Y%dD01*\nX0Y0D01*\nG37*\nM02*\n' $((1000 * teeth - 500)); } > "$file"
}
squares "$OUT/two-40-70.gbr" 40 70
squares "$OUT/square-30.gbr" 30
comb "$OUT/comb-30.gbr" 30 300
squares "$OUT/two-10-17.gbr" 10 17

run() {  # run BUILD NAME -> "seconds peak-MB project-MB"
  local tool=$1/bin/ordune-tool name=$2 prj="$OUT/$2-$3.prj"
  local t0 t1 status=0
  t0=$(date +%s.%N)
  /usr/bin/time -f '%M' -o "$OUT/mem" timeout "$LIMIT" "$tool" load --component "$OUT/$name.gbr" \
    --project "$prj" >/dev/null 2>&1 || status=$?
  t1=$(date +%s.%N)
  if [ "$status" = 124 ]; then
    printf '%10s %10s %10s' ">$LIMIT s" "-" "-"
    return
  fi
  local kb size=0
  kb=$(grep -E '^[0-9]+$' "$OUT/mem" | tail -1)
  [ -f "$prj" ] && size=$(stat -c %s "$prj")
  printf '%10.2f %10.1f %10.1f' "$(echo "$t1 - $t0" | bc)" "$(echo "$kb / 1024" | bc -l)" \
    "$(echo "$size / 1048576" | bc -l)"
}
printf '%-12s | %10s %10s %10s | %10s %10s %10s\n' board "ref s" "ref MB" "ref prj" "new s" "new MB" "new prj"
for name in two-10-17 square-30 comb-30 two-40-70; do
  printf '%-12s | %s | %s\n' "$name" "$(run "$REF" $name ref)" "$(run "$NEW" $name new)"
done
