#!/usr/bin/env bash
# The picture stays in view under the controls overlay, with and without a
# compositor: glaze plays a solid red clip named on its command line, and the
# video area's middle turns red while the overlay's strips stay drawn over it.
# Without a compositor only the overlay's mask lets the red through.
# Usage: picture_through_overlay_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}

e2e_require_tools ffmpeg
e2e_clean_environment
clip=$e2e_tmp/red.avi
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "color=c=red:s=320x240:r=25:d=30" \
    -c:v mpeg4 -q:v 5 "$clip" || e2e_fail "ffmpeg could not make the clip"
e2e_start_x
e2e_start_wm

red="255 0 0"
# The dominant colours of the overlay's middle band and of its top strip,
# from a fresh screenshot; true once the middle is red (within $1).
picture_in_middle() {
    local shot
    shot=$(e2e_screenshot "$2") || return 1
    middle=$(e2e_region_dominant_rgb "$shot" "${OW}x$((OH / 2))+${OX}+$((OY + OH / 4))")
    top=$(e2e_region_dominant_rgb "$shot" "${OW}x10+${OX}+$((OY + 2))")
    e2e_last_seen="middle $middle, top strip $top"
    (($(e2e_colour_distance "$middle" "$red") < $1))
}

play_and_look() { # LABEL TOLERANCE
    e2e_start_glaze "$clip"
    e2e_wait_for_overlay
    e2e_check_overlay_over_video_area "$e2e_overlay"
    e2e_wait_until "the red picture in the middle of the video area ($1)" picture_in_middle "$2" "$1"
    e2e_show_controls $((OX + OW / 2)) $((OY + OH / 2))
    picture_in_middle "$2" "$1" || e2e_fail "$1: the picture left the middle ($e2e_last_seen)"
    (($(e2e_colour_distance "$top" "$middle") > 100)) ||
        e2e_fail "$1: the top strip ($top) is not drawn over the picture ($middle)"
    e2e_pass "$1: the picture shows in the middle ($middle), the strips over it ($top)"
    e2e_quit_with_ctrl_q 2
}

# Unmasked, X would show the overlay's nearly clear middle nearly black.
play_and_look no-compositor 30
e2e_start_compositor
# Composited, the overlay's slight tint lies over the red.
play_and_look compositor 40
