#!/usr/bin/env bash
# The controls overlay keeps covering the video area, and only it, when the
# main window is resized and when it is moved afterwards.
# Usage: overlay_resize_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}

e2e_require_tools
e2e_clean_environment
e2e_start_x
e2e_start_wm
e2e_start_compositor

e2e_start_glaze
e2e_wait_for_overlay
overlay=$e2e_overlay
e2e_check_overlay_over_video_area "$overlay"

# Quiet check used while waiting: the geometry rule without failing.
overlay_on_video_area() {
    e2e_geometry "$e2e_main_window"
    local mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
    e2e_geometry "$overlay"
    e2e_last_seen="overlay ${WIDTH}x${HEIGHT}+${X}+${Y}, main window ${mw}x${mh}+${mx}+${my}"
    ((X == mx && Y == my && WIDTH == mw && HEIGHT == mh))
}
for size in "720 400" "1100 620"; do
    read -r width height <<<"$size"
    timeout "$E2E_WAIT_SECONDS" xdotool windowsize --sync "$e2e_main_window" "$width" "$height" >/dev/null 2>&1 || true
    e2e_geometry "$e2e_main_window"
    ((WIDTH == width && HEIGHT == height)) || e2e_fail "the window manager refused ${width}x${height}"
    e2e_wait_until "the overlay to cover the video area of the ${width}x${height} window" \
        overlay_on_video_area
    e2e_check_overlay_over_video_area "$overlay"
done
timeout "$E2E_WAIT_SECONDS" xdotool windowmove --sync "$e2e_main_window" 20 30 >/dev/null 2>&1 || true
e2e_wait_until "the overlay to follow the resized window's move" overlay_on_video_area
e2e_check_overlay_over_video_area "$overlay"

e2e_quit_with_ctrl_q 2
