#!/usr/bin/env bash
# Playback cost of Glaze against its floor, in one run on one private X server:
# CPU seconds and peak memory to play a generated 10 s 1080p30 H.264 clip to
# its end, in Glaze and in a program that only embeds libVLC into a native Qt
# window (playback_floor.cpp); then the CPU use of both over 10 s while paused,
# and over 10 s of steady playback, the floor's and Glaze's with the pointer
# still and moving.
# See README.md. Usually run through
#   cmake --build BUILD --target bench_playback
set -euo pipefail

runs=3
compositor=1
glaze='' floor=''
while (($#)); do
    case $1 in
    --glaze) glaze=$2; shift 2 ;;
    --floor) floor=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --no-compositor) compositor=0; shift ;;
    *) echo "usage: $0 --glaze BIN --floor BIN [--runs N] [--no-compositor]" >&2
       exit 2 ;;
    esac
done
for binary in "$glaze" "$floor"; do
    [[ -x $binary ]] || { echo "not an executable: '$binary'" >&2; exit 2; }
done
((runs >= 1)) || { echo "--runs must be at least 1" >&2; exit 2; }

source "$(dirname "$0")/session.sh"
clip=$tmp/clip-1080p30.mp4
echo "making a 10 s 1920x1080 30 fps H.264 clip..."
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "testsrc2=size=1920x1080:rate=30" -t 10 \
    -pix_fmt yuv420p -c:v libx264 -preset veryfast -g 60 "$clip"
long_clip=$tmp/clip-1080p30-14s.mp4
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "testsrc2=size=1920x1080:rate=30" -t 14 \
    -pix_fmt yuv420p -c:v libx264 -preset veryfast -g 60 "$long_clip"


median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# CPU seconds (user + system, all threads) the process has used so far.
cpu_seconds() {
    # The fields after the command name, which may hold spaces: utime is the
    # 12th, stime the 13th.
    awk -v tick="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); printf "%.2f", ($12 + $13) / tick }' \
        "/proc/$1/stat"
}
peak_mb() { awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

# The colour of one screen pixel, "r g b".
pixel_rgb() {
    /usr/bin/import -display "$DISPLAY" -window root -crop "1x1+$1+$2" +repage -depth 8 rgb:- |
        od -An -tu1 | awk '{ print $1, $2, $3 }'
}

# The first window of PID named by the pattern NAME, visible unless --all
# comes third. xdotool gives up on the whole search when any window on the
# display goes while it looks (the window manager's frame of the run before,
# say), so it is asked again until it answers or 15 s pass.
find_window() { # PID NAME [--all]
    local id deadline=$((SECONDS + 15)) visible=--onlyvisible
    [[ ${3:-} == --all ]] && visible=''
    until id=$(xdotool search $visible --pid "$1" --name "$2" 2>/dev/null | head -n1) && [[ -n $id ]]; do
        ((SECONDS < deadline)) || { echo "no window '$2' after 15 s" >&2; return 1; }
        sleep 0.05
    done
    echo "$id"
}

# "x y width height" of a window, on the screen.
window_geometry() { # WINDOW
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }'
}

# Glaze shows its background image once the media has ended: the middle of
# the image is the play triangle's blue.
glaze_has_ended() {
    local overlay x y w h
    overlay=$(find_window "$1" '^Glaze Controls$' --all)
    read -r x y w h < <(window_geometry "$overlay")
    # Between the 30-pixel title strip and the 72-pixel controls bar.
    read -r r g b < <(pixel_rgb $((x + w / 2)) $((y + 30 + (h - 102) / 2)))
    ((r - 90 < 40 && 90 - r < 40 && g - 141 < 40 && 141 - g < 40 && b - 238 < 40 && 238 - b < 40))
}

# Plays the clip to its end and a little beyond: every program is measured
# over the same 13 s from its start (start-up, 10 s of clip, the end), since
# Glaze stays open after the end. Prints "cpu_s peak_mb".
play_once() { # NAME BINARY
    "$2" "$clip" >"$tmp/$1.log" 2>&1 &
    program=$!
    sleep 13
    local cpu peak
    cpu=$(cpu_seconds "$program")
    peak=$(peak_mb "$program")
    if [[ $1 == glaze ]]; then
        glaze_has_ended "$program" || { echo "Glaze had not reached the end after 13 s" >&2; exit 1; }
    else
        grep -q '^ended' "$tmp/$1.log" || { echo "the floor had not reached the end after 13 s" >&2; exit 1; }
    fi
    kill -TERM "$program" && wait "$program" 2>/dev/null || true
    program=
    printf '%s %s\n' "$cpu" "$peak"
}

# Paused 3 s into the clip, then measured over 10 s: Glaze by the space bar,
# the floor by itself. Prints "cpu_percent" of one core.
paused_once() { # NAME
    local window
    if [[ $1 == glaze ]]; then
        "$glaze" "$clip" >"$tmp/paused.log" 2>&1 &
        program=$!
        window=$(find_window "$program" '^Glaze$')
        sleep 3
        xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
        xdotool key --window "$(xdotool getwindowfocus)" space
    else
        "$floor" "$clip" 3000 >"$tmp/paused.log" 2>&1 &
        program=$!
        sleep 3
    fi
    sleep 1
    local before after
    before=$(cpu_seconds "$program")
    sleep 10
    after=$(cpu_seconds "$program")
    kill -TERM "$program" && wait "$program" 2>/dev/null || true
    program=
    awk -v a="$before" -v b="$after" 'BEGIN { printf "%.2f\n", (b - a) * 100 / 10 }'
}

# CPU over 10 s of playback from 2 s in, once the start and the adding of the
# file are over: the floor's, or Glaze's with the pointer still over the
# picture or moved over it 60 times a second. Prints "cpu_percent" of one core.
playing_once() { # floor|still|moving
    local binary=$glaze window x y w h
    [[ $1 == floor ]] && binary=$floor
    "$binary" "$long_clip" >"$tmp/playing.log" 2>&1 &
    program=$!
    if [[ $1 != floor ]]; then
        window=$(find_window "$program" '^Glaze$')
        read -r x y w h < <(window_geometry "$window")
        xdotool mousemove $((x + w / 2)) $((y + h / 2))
    fi
    sleep 2
    local before after
    before=$(cpu_seconds "$program")
    if [[ $1 == moving ]]; then
        local steps=() i
        for ((i = 0; i < 600; i++)); do
            steps+=(mousemove $((x + w / 4 + i % 200)) $((y + h / 2)) sleep 0.0167)
        done
        xdotool "${steps[@]}"
    else
        sleep 10
    fi
    after=$(cpu_seconds "$program")
    kill -TERM "$program" && wait "$program" 2>/dev/null || true
    program=
    awk -v a="$before" -v b="$after" 'BEGIN { printf "%.2f\n", (b - a) * 100 / 10 }'
}

echo "display $DISPLAY, compositor: $( ((compositor)) && echo xcompmgr || echo none ), runs: $runs"
echo "engine options: $GLAZE_VLC_OPTIONS"
: >"$tmp/glaze" && : >"$tmp/floor" && : >"$tmp/glaze-paused" && : >"$tmp/floor-paused"
: >"$tmp/still" && : >"$tmp/moving" && : >"$tmp/floor-playing"
for ((i = 0; i < runs; i++)); do
    # Interleaved, so a change in machine load touches both alike.
    play_once glaze "$glaze" >>"$tmp/glaze"
    play_once floor "$floor" >>"$tmp/floor"
done
for ((i = 0; i < runs; i++)); do
    paused_once glaze >>"$tmp/glaze-paused"
    paused_once floor >>"$tmp/floor-paused"
done

for ((i = 0; i < runs; i++)); do
    playing_once still >>"$tmp/still"
    playing_once floor >>"$tmp/floor-playing"
    playing_once moving >>"$tmp/moving"
done

g_cpu=$(awk '{ print $1 }' "$tmp/glaze" | median)
g_mem=$(awk '{ print $2 }' "$tmp/glaze" | median)
f_cpu=$(awk '{ print $1 }' "$tmp/floor" | median)
f_mem=$(awk '{ print $2 }' "$tmp/floor" | median)
gp_cpu=$(median <"$tmp/glaze-paused")
fp_cpu=$(median <"$tmp/floor-paused")

printf '\nmedian of %d runs; 10 s 1080p30 H.264 played to its end, start and adding included\n' "$runs"
printf '%-22s %10s %12s\n' "" "CPU s" "peak MB"
printf '%-22s %10.2f %12.1f\n' "Glaze" "$g_cpu" "$g_mem"
printf '%-22s %10.2f %12.1f\n' "Qt + libVLC floor" "$f_cpu" "$f_mem"
printf '%-22s %9.2fx %11.2fx   (goals: within 1.1x, 1.15x)\n' "Glaze / floor" \
    "$(awk -v a="$g_cpu" -v b="$f_cpu" 'BEGIN { print a / b }')" \
    "$(awk -v a="$g_mem" -v b="$f_mem" 'BEGIN { print a / b }')"
printf '\npaused, CPU over 10 s, %% of one core\n'
printf '%-22s %9.2f%%   (goal: under 1%%)\n' "Glaze" "$gp_cpu"
printf '%-22s %9.2f%%\n' "Qt + libVLC floor" "$fp_cpu"
still=$(median <"$tmp/still")
moving=$(median <"$tmp/moving")
floor_playing=$(median <"$tmp/floor-playing")
printf '\nplaying, CPU over 10 s from 2 s in, %% of one core\n'
printf '%-22s %9.2f%%\n' "Glaze, pointer still" "$still" "Qt + libVLC floor" "$floor_playing"
printf '%-22s %9.2fx    (goal: within 1.05x)\n' "Glaze / floor" \
    "$(awk -v a="$still" -v b="$floor_playing" 'BEGIN { print a / b }')"
printf '%-22s %9.2f%%\n' "Glaze, pointer moving" "$moving"
printf '%-22s %9.2f%%   (goal: under 5%%)\n' "added by the motion" \
    "$(awk -v a="$moving" -v b="$still" 'BEGIN { print a - b }')"
printf '\nall runs (CPU s, peak MB; %%):\n'
printf '  %-20s %s\n' "Glaze" "$(paste -sd, "$tmp/glaze")" "Qt + libVLC floor" "$(paste -sd, "$tmp/floor")" \
    "Glaze paused" "$(paste -sd, "$tmp/glaze-paused")" "floor paused" "$(paste -sd, "$tmp/floor-paused")" \
    "pointer still" "$(paste -sd, "$tmp/still")" "floor playing" "$(paste -sd, "$tmp/floor-playing")" \
    "pointer moving" "$(paste -sd, "$tmp/moving")"
