#!/usr/bin/env bash
# Start-up time of Glaze against its floor, in one run on one private X server:
# a bare Qt window started and measured the same way, and libvlc_new alone.
# See README.md for what "mapped" and "idle" mean. Usually run through
#   cmake --build BUILD --target bench_startup
set -euo pipefail

runs=11
compositor=1
glaze='' bare='' libvlc_new='' probe=''
while (($#)); do
    case $1 in
    --glaze) glaze=$2; shift 2 ;;
    --bare) bare=$2; shift 2 ;;
    --libvlc-new) libvlc_new=$2; shift 2 ;;
    --probe) probe=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --no-compositor) compositor=0; shift ;;
    *) echo "usage: $0 --glaze BIN --bare BIN --libvlc-new BIN --probe BIN [--runs N] [--no-compositor]" >&2
       exit 2 ;;
    esac
done
for binary in "$glaze" "$bare" "$libvlc_new" "$probe"; do
    [[ -x $binary ]] || { echo "not an executable: '$binary'" >&2; exit 2; }
done
((runs >= 10)) || { echo "--runs must be at least 10" >&2; exit 2; }

source "$(dirname "$0")/session.sh"

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The programs' own chatter goes to a log, shown only if a run fails.
probe_once() { # TITLE BINARY -> "mapped idle"
    "$probe" --title "$1" --quiet-ms 100 --busy-us 2000 --timeout-ms 20000 -- "$2" \
        2>>"$tmp/programs.log" || { tail -n 20 "$tmp/programs.log" >&2; exit 1; }
}

echo "display $DISPLAY, compositor: $( ((compositor)) && echo xcompmgr || echo none ), runs: $runs"
echo "engine options: $GLAZE_VLC_OPTIONS"
# One discarded run each fills the page cache and the font cache.
probe_once Glaze "$glaze" >/dev/null
probe_once "Bare Qt Window" "$bare" >/dev/null
"$libvlc_new" >/dev/null 2>>"$tmp/programs.log"

: >"$tmp/glaze" && : >"$tmp/bare" && : >"$tmp/libvlc"
for ((i = 0; i < runs; i++)); do
    # Interleaved, so a change in machine load touches both alike.
    probe_once Glaze "$glaze" >>"$tmp/glaze"
    probe_once "Bare Qt Window" "$bare" >>"$tmp/bare"
    "$libvlc_new" >>"$tmp/libvlc" 2>>"$tmp/programs.log"
done

g_map=$(awk '{ print $1 }' "$tmp/glaze" | median)
g_idle=$(awk '{ print $2 }' "$tmp/glaze" | median)
b_map=$(awk '{ print $1 }' "$tmp/bare" | median)
b_idle=$(awk '{ print $2 }' "$tmp/bare" | median)
v_new=$(awk '{ print $1 }' "$tmp/libvlc" | median)
v_rel=$(awk '{ print $2 }' "$tmp/libvlc" | median)

printf '\nmedian of %d runs, milliseconds from exec\n' "$runs"
printf '%-22s %10s %10s\n' "" "mapped" "idle"
printf '%-22s %10.1f %10.1f\n' "Glaze" "$g_map" "$g_idle"
printf '%-22s %10.1f %10.1f\n' "bare Qt window" "$b_map" "$b_idle"
printf '%-22s %10.2f %10s\n' "libvlc_new" "$v_new" "(release $(printf '%.2f' "$v_rel"))"
ratio_map=$(awk -v a="$g_map" -v b="$b_map" 'BEGIN { printf "%.2f", a / b }')
ratio_idle=$(awk -v a="$g_idle" -v b="$b_idle" 'BEGIN { printf "%.2f", a / b }')
printf '%-22s %10sx %9sx   (goal: within 1.5x)\n' "Glaze / bare Qt" "$ratio_map" "$ratio_idle"
