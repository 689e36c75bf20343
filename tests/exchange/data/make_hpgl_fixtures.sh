#!/bin/sh
# Writes graph_plot.plt, an HPGL plot made by a real plotting program
# (Debian's plotutils: two data sets, the first with circle markers, in
# colour so that each gets its own pen), and graph_plot.gpt, the same plot
# as hp2xx renders it (Debian's hp2xx, its gnuplot output: every stroke as
# "#PU" and "#PD" points in mm). Run once by hand; the outputs are committed.
set -e
here=$(dirname "$0")
tmp=$(mktemp -d)
printf '0 0\n1 2\n2 1\n3 3\n' > "$tmp/a.dat"
printf '0 3\n3 0\n' > "$tmp/b.dat"
graph -T hpgl -C -g 0 -m 1 -S 4 0.1 "$tmp/a.dat" -m 2 -S 0 "$tmp/b.dat" > "$here/graph_plot.plt"
hp2xx -q -m gpt -f "$here/graph_plot.gpt" "$here/graph_plot.plt"
rm -r "$tmp"
