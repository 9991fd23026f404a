#!/usr/bin/env bash
# Start-up without a compositor: X would show the translucent overlay opaque
# and hide the video, so the overlay must be masked (X Shape) to its visible
# parts: the top and bottom strips (and what it draws in between). Checked
# through X: the overlay has a bounding shape and the pointer on the strips
# reaches the overlay; the screen shows the window and strips drawn.
# With --holes, also: over most of the video area (all but what the overlay
# draws there) the pointer passes through to the main window.
# What shows in the holes is not checked: the video view paints nothing
# before playback, so X leaves whatever was on the screen there
# (picture_through_overlay_test.sh checks them with a picture playing).
# Usage: no_compositor_test.sh GLAZE_BINARY [--holes]
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}
check_holes=0
[[ ${2:-} == --holes ]] && check_holes=1

e2e_require_tools
e2e_clean_environment
e2e_start_x
e2e_start_wm
! e2e_compositor_running || e2e_fail "a compositor runs on the private display"

e2e_start_glaze
e2e_pass "window 'Glaze' shown by pid $e2e_glaze_pid"
e2e_wait_for_overlay
overlay=$e2e_overlay
e2e_check_overlay_over_video_area "$overlay"

# --- The shape.
shape=$(xwininfo -shape -id "$overlay")
grep -q 'Window shape extents' <<<"$shape" ||
    e2e_fail "overlay not shaped without a compositor: $(grep -i shape <<<"$shape" | tr '\n' ' ')"
e2e_pass "overlay has a bounding shape"

# --- The pointer: the shape decides which window is hit. The window manager
# copies the shape to its frame when told of it, so allow it a moment.
main_frame=$(e2e_parent_of "$e2e_main_window")
overlay_frame=$(e2e_parent_of "$overlay")
pointer_on_overlay_at() { # X Y
    local under
    under=$(e2e_window_under_pointer "$1" "$2")
    e2e_last_seen="window '$under' at $1,$2 (overlay frame $overlay_frame)"
    [[ $under == "$overlay_frame" || $under == $((overlay)) ]]
}
# Clear of the window's edges, which the window itself takes to be resized by.
e2e_wait_until "the top strip to take the pointer" pointer_on_overlay_at $((OX + OW / 2)) $((OY + 20))
e2e_wait_until "the bottom strip to take the pointer" pointer_on_overlay_at $((OX + OW / 2)) $((OY + OH - 10))
e2e_pass "the strips take the pointer"
# What the overlay draws in the middle (the placeholder image) keeps its part
# of the overlay; most of the video area must reach the main window.
pointer_passes_through() {
    read -r on_overlay on_main other <<<"$(e2e_pointer_grid "$overlay_frame" "$main_frame" \
        $((overlay)) $((e2e_main_window)))"
    e2e_last_seen="pointer grid over the video area: $on_overlay on the overlay, $on_main on the main window, $other elsewhere"
    ((other == 0 && on_main * 3 >= 45))
}
if ((check_holes)); then
    e2e_wait_until "the pointer to pass through the overlay's middle" pointer_passes_through
    e2e_pass "$on_main of 45 points over the video area reach the main window"
fi

# --- The screen: the window is drawn, the strips too.
e2e_show_controls $((OX + OW / 2)) $((OY + OH / 2))
shot=$(e2e_screenshot no-compositor) || e2e_fail "screenshot failed"
read -r colours deviation <<<"$(e2e_region_stats "$shot" "${MW}x${MH}+${MX}+${MY}")"
((colours > 8)) && awk -v d="$deviation" 'BEGIN { exit !(d > 0.03) }' ||
    e2e_fail "main window looks blank: $colours colours, standard deviation $deviation"
e2e_pass "main window drawn: $colours colours, standard deviation $deviation"
top=$(e2e_region_dominant_rgb "$shot" "${OW}x10+${OX}+$((OY + 2))")
bottom=$(e2e_region_dominant_rgb "$shot" "${OW}x10+${OX}+$((OY + OH - 12))")
(($(e2e_colour_distance "$top" "$bottom") < 8)) ||
    e2e_fail "top strip ($top) and bottom strip ($bottom) differ"
e2e_pass "strips drawn ($top)"

e2e_quit_with_ctrl_q 2
