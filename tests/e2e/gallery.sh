#!/usr/bin/env bash
# Screenshots of the main states of the real binary under Xvfb, openbox and
# xcompmgr, to look at by eye (not a test): the empty window, a clip playing,
# the playlist panel with two videos and a song, the panel filtered, the
# title bar under the pointer, the controls hidden, full screen, and the panel
# at a scale factor of 2. Each is the main window, as OUTDIR/NN-state.png.
# Usage: tests/e2e/gallery.sh OUTDIR   (GLAZE names the binary; by default
# build/app/glaze of this checkout)
here=$(cd "$(dirname "$0")" && pwd)
[[ $# -eq 1 ]] || {
    echo "usage: $0 OUTDIR" >&2
    exit 2
}
mkdir -p "$1"
outdir=$(cd "$1" && pwd)
GLAZE=${GLAZE:-$(cd "$here/../.." && pwd)/build/app/glaze}
# What a failure leaves goes beside the pictures.
export E2E_ARTIFACTS=${E2E_ARTIFACTS:-$outdir}
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
# shellcheck source=panel_lib.sh
source "$here/panel_lib.sh"

panel_prepare
media=$e2e_tmp/Media
mkdir -p "$media"
panel_make_clip "$media/Test pattern.mp4" testsrc
panel_make_clip "$media/Test bars.mp4" smptebars
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "sine=frequency=660:duration=20" \
    "$media/Chime.mp3" || e2e_fail "ffmpeg could not make the song"

keep() { # SHOT NAME
    "$E2E_CONVERT" "$1" -crop "$(panel_window_region)" +repage "$outdir/$2.png"
    e2e_pass "$outdir/$2.png"
}

# The same pixels twice in a row: nothing is still being drawn.
last_print=
settled() {
    local shot print
    shot=$(e2e_screenshot settled) || return 1
    print=$("$E2E_CONVERT" "$shot" -crop "$(panel_window_region)" +repage rgb:- | md5sum)
    [[ $print == "$last_print" ]] || {
        last_print=$print
        return 1
    }
}

# A time label shows the remaining time of the minute-long clip: its length is known.
length_shown() {
    panel_read || return 1
    e2e_last_seen="labels: $(awk -F'\t' '$1 == "label" { printf "%s ", $2 }' <<<"$panel_state")"
    grep -qE $'^label\t00:00:[3-5][0-9]$' <<<"$panel_state"
}

# The middle of the video area holds a picture, not the flat background.
picture_shows() {
    panel_shot=$(e2e_screenshot playing) || return 1
    local colours
    colours=$(e2e_region_stats "$panel_shot" "$((OW / 2))x$((OH / 2))+$((OX + OW / 4))+$((OY + OH / 4))" |
        cut -d' ' -f1)
    e2e_last_seen="$colours colours"
    ((colours > 50))
}

# A fade is over and the picture under the pointer drawn.
after_fade() { # NAME
    sleep 0.7
    panel_shot=$(e2e_screenshot "$1") || e2e_fail "no screenshot"
}
controls_hidden() { ! e2e_controls_shown; }

# Room for the window at a scale factor of 2.
e2e_start_x -screen 0 2560x1600x24
e2e_start_wm
e2e_start_compositor

e2e_start_glaze
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"
e2e_wait_until "the empty window to be drawn" settled
keep "$e2e_tmp/settled.png" 01-empty
e2e_quit_with_ctrl_q 2

all="Test pattern|Test bars|Chime"
e2e_start_glaze "$media/Test pattern.mp4" "$media/Test bars.mp4" "$media/Chime.mp3"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"
e2e_wait_until "the first clip to play" panel_shows "Test pattern" "$all"
e2e_wait_until "the clip's length to show" length_shown
e2e_wait_until "the picture to show" picture_shows
keep "$panel_shot" 02-playing

e2e_show_controls $((OX + OW / 2)) $((OY + 10))
after_fade hover
keep "$panel_shot" 03-titlebar-hover

xdotool mousemove $((OX + OW / 2)) $((OY + OH / 2))
e2e_wait_until "the controls to hide" controls_hidden
after_fade hidden
keep "$panel_shot" 04-controls-hidden

timeout "$E2E_WAIT_SECONDS" xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
xdotool key F11
e2e_wait_until "full screen" eval '[[ $(xprop -id "$e2e_main_window" _NET_WM_STATE) == *FULLSCREEN* ]]'
xdotool mousemove 640 400 sleep 0.1 mousemove 660 420
after_fade full-screen
keep "$panel_shot" 05-full-screen
xdotool key F11
e2e_wait_until "the window back" eval '[[ $(xprop -id "$e2e_main_window" _NET_WM_STATE) != *FULLSCREEN* ]]'
e2e_check_overlay_over_video_area "$e2e_overlay"

panel_open
e2e_wait_until "the panel's rows to be drawn" panel_drawn
keep "$panel_shot" 06-panel

panel_type_filter test
e2e_wait_until "the filter to leave the two videos" panel_shows "Test pattern" "Test pattern|Test bars"
e2e_wait_until "the filtered rows to be drawn" panel_drawn
keep "$panel_shot" 07-filter
e2e_quit_with_ctrl_q 2

export QT_SCALE_FACTOR=2
e2e_start_glaze "$media/Test pattern.mp4" "$media/Test bars.mp4" "$media/Chime.mp3"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"
e2e_wait_until "the first clip to play" panel_shows "Test pattern" "$all"
e2e_wait_until "the picture to show" picture_shows
# The accessibility tree places controls in unscaled pixels: the playlist
# button is found by its place at the title bar's right end instead.
e2e_show_controls $((OX + 200)) $((OY + OH / 2))
xdotool mousemove $((OX + OW - 44)) $((OY + 44)) click 1
e2e_wait_until "the panel to open and the overlay to narrow" panel_overlay_narrowed
e2e_show_controls $((OX + 200)) $((OY + OH / 2))
after_fade scale-2
keep "$panel_shot" 08-scale-2
e2e_quit_with_ctrl_q 2
