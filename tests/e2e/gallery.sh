#!/usr/bin/env bash
# Screenshots of the main states of the real binary under Xvfb, openbox and
# xcompmgr, to look at by eye (not a test): the empty window, a clip playing,
# the title bar under the pointer, the controls hidden, full screen, the
# playlist panel with two videos and a song, the panel filtered, and the panel
# at a scale factor of 2. Each is the main window, as OUTDIR/NN-state.png.
# Usage: tests/e2e/gallery.sh OUTDIR   (GLAZE names the binary; by default
# build/app/glaze of this checkout)
[[ $# -eq 1 ]] || {
    echo "usage: $0 OUTDIR" >&2
    exit 2
}
mkdir -p "$1"
outdir=$(cd "$1" && pwd)
GLAZE=${GLAZE:-$(cd "$(dirname "$0")/../.." && pwd)/build/app/glaze}
# What a failure leaves goes beside the pictures.
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$outdir}
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

media=$e2e_tmp/Media
mkdir -p "$media"
# Long enough to play on through a slow run.
e2e_make_clip "$media/Test pattern.mp4" testsrc 150
e2e_make_clip "$media/Test bars.mp4" smptebars 150
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i sine=frequency=660:duration=20 "$media/Chime.mp3"
files=("$media/Test pattern.mp4" "$media/Test bars.mp4" "$media/Chime.mp3")

keep() { # NAME: the main window of the last screenshot
    e2e_geometry "$main" M
    convert "$shot" -crop "${MW}x${MH}+${MX}+${MY}" +repage "$outdir/$1.png"
    e2e_pass "$outdir/$1.png"
}
# The same pixels twice in a row: nothing is still being drawn.
settled() {
    local last=${print:-}
    e2e_shot settled && print=$(md5sum <"$shot") && [[ $print == "$last" ]]
}
# The clip's length known (its remaining time shown), then a picture in the
# middle; the pointer stirs, as the time read-outs hide with the controls.
playing() {
    e2e_nudge_to $((OX + OW / 2)) $((OY + OH / 2))
    e2e_tree && grep -qE $'^label\t00:0[12]:[0-9]{2}\t' <<<"$tree" && e2e_shot playing || return 1
    e2e_last_seen="$(e2e_colours "$((OW / 2))x$((OH / 2))+$((OX + OW / 4))+$((OY + OH / 4))") colours"
    ((${e2e_last_seen% *} > 50))
}
# A screenshot with the controls fully shown, the close button in its own
# red, after the pointer stirred at X,Y (and they faded in).
shown() { # NAME X Y
    e2e_nudge_to "$2" "$3"
    sleep 0.5
    local s=${QT_SCALE_FACTOR:-1}
    e2e_shot "$1" &&
        e2e_near "$(convert "$shot" -crop "1x1+$((OX + 8 * s))+$((OY + 22 * s))" -depth 8 rgb:- | od -An -tu1)" "255 95 87" 8
}
# A fade is over; this is a picture to look at, not a check.
after_fade() { # NAME
    sleep 0.7
    e2e_shot "$1"
}
# Room for the window at a scale factor of 2.
e2e_start_desktop -screen 0 2560x1600x24

e2e_start_glaze
e2e_wait_until "the empty window to be drawn" settled
e2e_wait_until "the controls shown" shown empty $((OX + OW / 2)) $((OY + OH / 2))
keep 01-empty
e2e_quit

e2e_start_glaze "${files[@]}"
e2e_wait_until "the first clip to play" e2e_plays "Test pattern" 3
e2e_wait_until "the picture and the clip's length" playing
e2e_wait_until "the controls shown" shown playing $((OX + OW / 2)) $((OY + OH / 2))
keep 02-playing
e2e_wait_until "the controls shown" shown hover $((OX + OW / 2)) $((OY + 10))
keep 03-titlebar-hover
xdotool mousemove $((OX + OW / 2)) $((OY + OH / 2))
e2e_wait_until "the controls to hide" e2e_controls_hidden
after_fade hidden
keep 04-controls-hidden
e2e_key F11
e2e_wait_until "full screen" eval '[[ $(xprop -id "$main" _NET_WM_STATE) == *FULLSCREEN* ]]'
xdotool mousemove 640 400 sleep 0.1 mousemove 660 420
after_fade full-screen
keep 05-full-screen
e2e_key F11
e2e_wait_until "the window back" e2e_overlay_covers
e2e_open_panel
keep 06-panel
e2e_centre_of "Filter Playlist"
xdotool mousemove "$CX" "$CY" click 1
xdotool type --delay 30 test
e2e_wait_until "the filter to leave the two videos" e2e_plays "Test pattern" 2
e2e_wait_until "the filtered rows drawn" e2e_panel_drawn
keep 07-filter
e2e_quit

export QT_SCALE_FACTOR=2
e2e_start_glaze "${files[@]}"
e2e_wait_until "the first clip to play" e2e_plays "Test pattern" 3
# The accessibility tree places controls in unscaled pixels: the playlist
# button is found by its place at the title bar's right end instead.
e2e_show_controls $((OX + 200)) $((OY + OH / 2))
xdotool mousemove $((OX + OW - 44)) $((OY + 44)) click 1
e2e_wait_until "the panel to open" eval 'e2e_geometry "$overlay" O && ((OW < MW))'
e2e_wait_until "the controls shown" shown scale-2 $((OX + 200)) $((OY + OH / 2))
keep 08-scale-2
e2e_quit
