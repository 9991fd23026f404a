#!/usr/bin/env bash
# Playback from the command line: glaze plays the H.264 clip it is started
# with, though its name is not valid UTF-8, and the picture shows (the video area is not one flat colour). The
# space bar pauses and resumes: the picture and the spent-time label stand
# still while paused and move on after. Space held down for 3 seconds toggles
# once. F11 takes the window into full screen and back, and the controls
# overlay keeps covering it.
# Usage: playback_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}

e2e_require_tools ffmpeg md5sum
e2e_clean_environment
# Latin-1 bytes, as older archives name their files.
clip=$e2e_tmp/$'pattern lat\xe9in1.mp4'
# A test pattern whose frame counter changes every frame.
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "testsrc=size=640x360:rate=25" -t 60 \
    -pix_fmt yuv420p -c:v libx264 -preset ultrafast "$clip" || e2e_fail "ffmpeg could not make the clip"
e2e_start_x
e2e_start_wm
e2e_start_compositor

e2e_start_glaze "$clip"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"

# Regions of the screen, as WxH+X+Y: the middle of the video area, and the
# spent-time label at the left end of the controls bar.
video_region() { printf '%sx%s+%s+%s' $((OW * 3 / 4)) $((OH / 2)) $((OX + OW / 8)) $((OY + OH / 4)); }
label_region() { printf '64x30+%s+%s' $((OX + 10)) $((OY + OH - 70)); }

# A fingerprint of a region's pixels.
region_print() {
    "$E2E_CONVERT" "$1" -crop "$2" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# Two screenshots SECONDS apart; sets video_moved and label_moved to 1 when
# the region changed between them, 0 when it stood still. The pointer moves
# over the video area meanwhile, so the controls stay shown.
watch_for() { # SECONDS NAME
    e2e_show_controls $((OX + OW / 2)) $((OY + OH / 2))
    local first second
    first=$(e2e_screenshot "$2-a") || e2e_fail "screenshot failed"
    e2e_keep_controls_for "$1" $((OX + OW / 2)) $((OY + OH / 2))
    second=$(e2e_screenshot "$2-b") || e2e_fail "screenshot failed"
    video_moved=0 label_moved=0
    [[ $(region_print "$first" "$(video_region)") == $(region_print "$second" "$(video_region)") ]] ||
        video_moved=1
    [[ $(region_print "$first" "$(label_region)") == $(region_print "$second" "$(label_region)") ]] ||
        label_moved=1
    e2e_last_seen="video moved: $video_moved, label moved: $label_moved"
}

picture_shows() {
    local shot colours deviation
    shot=$(e2e_screenshot picture) || return 1
    read -r colours deviation <<<"$(e2e_region_stats "$shot" "$(video_region)")"
    e2e_last_seen="$colours colours, standard deviation $deviation"
    ((colours > 50)) && awk -v d="$deviation" 'BEGIN { exit !(d > 0.1) }'
}

focus_glaze() {
    xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
    e2e_wait_until "the Glaze window to take the focus" e2e_glaze_has_focus
}

# Typed through XTEST, like a keyboard, into the focused window.
press_space() {
    focus_glaze
    xdotool key --window "$(xdotool getwindowfocus)" space
}

expect_playing() { # WHAT
    watch_for 1.5 "$1"
    ((video_moved && label_moved)) || e2e_fail "$1: not playing ($e2e_last_seen)"
    e2e_pass "$1: the picture and the spent time move on"
}

expect_paused() { # WHAT
    sleep 0.5
    watch_for 2 "$1"
    ((!video_moved && !label_moved)) || e2e_fail "$1: not paused ($e2e_last_seen)"
    e2e_pass "$1: the picture and the spent time stand still"
}

e2e_wait_until "the picture in the video area" picture_shows
e2e_pass "the video shows: $e2e_last_seen"
expect_playing "started from the command line"

press_space
expect_paused "space pressed"
press_space
expect_playing "space pressed again"

# Held down, the key repeats; only its first press counts.
focus_glaze
focused=$(xdotool getwindowfocus)
xdotool keydown --window "$focused" space
sleep 3
xdotool keyup --window "$focused" space
expect_paused "space held for 3 seconds"
press_space
expect_playing "space pressed after holding it"

# Full screen and back: the overlay follows the main window.
overlay_covers_screen() {
    e2e_geometry "$e2e_overlay"
    e2e_last_seen="overlay ${WIDTH}x${HEIGHT}+${X}+${Y}"
    # All of the 1280x800 screen.
    ((X == 0 && Y == 0 && WIDTH == 1280 && HEIGHT == 800))
}
overlay_back_over_video_area() {
    e2e_geometry "$e2e_overlay"
    e2e_last_seen="overlay ${WIDTH}x${HEIGHT}+${X}+${Y}, before ${OW}x${OH}+${OX}+${OY}"
    ((X == OX && Y == OY && WIDTH == OW && HEIGHT == OH))
}
focus_glaze
xdotool key --window "$(xdotool getwindowfocus)" F11
e2e_wait_until "the overlay to cover the full screen" overlay_covers_screen
e2e_is_viewable "$e2e_overlay" || e2e_fail "the overlay is not shown in full screen"
e2e_pass "in full screen the overlay covers the screen ($e2e_last_seen)"
focus_glaze
xdotool key --window "$(xdotool getwindowfocus)" F11
e2e_wait_until "the overlay to return over the video area" overlay_back_over_video_area
e2e_pass "out of full screen the overlay is back over the video area"

e2e_quit_with_ctrl_q 2
