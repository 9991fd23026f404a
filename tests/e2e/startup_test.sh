#!/usr/bin/env bash
# Start-up on a desktop with a compositor: the main window shows, the first
# menu of its main menu (kept, though the window shows no menu bar: the title
# bar's button opens its menus) is the application menu retitled "Glaze"
# (read through the accessibility tree), the window is drawn, the controls
# overlay covers the video area and follows the window, and Ctrl+Q ends the
# process cleanly.
# Usage: startup_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}

e2e_require_tools /usr/bin/python3
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || e2e_fail "missing python3-pyatspi"
e2e_clean_environment
e2e_start_x
e2e_start_wm
e2e_start_compositor
# Qt only serves the accessibility tree when asked; no screen reader runs here.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

e2e_start_glaze
e2e_pass "window 'Glaze' shown by pid $e2e_glaze_pid"

# --- The application menu, as assistive technology reads it.
menu=$(/usr/bin/python3 "$here/read_accessible_menu.py" "$e2e_glaze_pid" Glaze Glaze \
    "$E2E_WAIT_SECONDS") || e2e_fail "could not read the menu bar through AT-SPI"
printf '%s\n' "$menu" >"$e2e_tmp/accessible-menu.log"
menu_item() { awk -F'\t' -v n="$1" '$1 == "item" && $2 == n' <<<"$menu"; }
title=$(awk -F'\t' '$1 == "menu" { print $2 }' <<<"$menu")
[[ $title == Glaze ]] || e2e_fail "first menu is titled '$title', not 'Glaze'"
e2e_pass "first menu reads 'Glaze'"
[[ $(menu_item "About Glaze" | cut -f3) == enabled ]] ||
    e2e_fail "no enabled 'About Glaze' item in: $(tr '\n' '|' <<<"$menu")"
[[ $(menu_item "Hide Glaze" | cut -f3) == enabled ]] ||
    e2e_fail "no enabled 'Hide Glaze' item in: $(tr '\n' '|' <<<"$menu")"
[[ $(menu_item "Hide Others" | cut -f3) == disabled ]] ||
    e2e_fail "'Hide Others' missing or enabled in: $(tr '\n' '|' <<<"$menu")"
quit=$(menu_item "Quit Glaze")
[[ $(cut -f3 <<<"$quit") == enabled ]] || e2e_fail "no enabled 'Quit Glaze' item in: $(tr '\n' '|' <<<"$menu")"
[[ $(cut -f4 <<<"$quit") == Ctrl+Q ]] || e2e_fail "'Quit Glaze' has key binding '$(cut -f4 <<<"$quit")', not Ctrl+Q"
! grep -q NewApplication <<<"$menu" || e2e_fail "an item still names the placeholder: $(tr '\n' '|' <<<"$menu")"
e2e_pass "items About Glaze, Hide Glaze, Hide Others (disabled), Quit Glaze (Ctrl+Q)"

# --- The overlay lies over the video area; with a compositor it is not masked.
e2e_wait_for_overlay
overlay=$e2e_overlay
e2e_check_overlay_over_video_area "$overlay"
xwininfo -shape -id "$overlay" | grep -q 'No window shape defined' ||
    e2e_fail "overlay masked although a compositor runs: $(xwininfo -shape -id "$overlay" | grep -i shape)"
e2e_pass "overlay not masked under the compositor"
# Unmasked, it takes the pointer everywhere over the video area.
overlay_frame=$(e2e_parent_of "$overlay")
main_frame=$(e2e_parent_of "$e2e_main_window")
read -r on_overlay on_main other <<<"$(e2e_pointer_grid "$overlay_frame" "$main_frame" \
    $((overlay)) $((e2e_main_window)))"
((on_main == 0 && other == 0 && on_overlay == 45)) ||
    e2e_fail "pointer grid over the video area: $on_overlay on the overlay, $on_main on the main window, $other elsewhere"
e2e_pass "the overlay takes the pointer all over the video area"

# --- The window is drawn: not one flat colour.
e2e_show_controls $((OX + OW / 2)) $((OY + OH / 2))
shot=$(e2e_screenshot startup) || e2e_fail "screenshot failed"
read -r colours deviation <<<"$(e2e_region_stats "$shot" "${MW}x${MH}+${MX}+${MY}")"
((colours > 8)) && awk -v d="$deviation" 'BEGIN { exit !(d > 0.03) }' ||
    e2e_fail "main window looks blank: $colours colours, standard deviation $deviation"
e2e_pass "main window drawn: $colours colours, standard deviation $deviation"
# The overlay's strips are its nearly opaque parts; its middle lets the video
# area show through. Dominant colours, so the controls drawn on them don't count.
top=$(e2e_region_dominant_rgb "$shot" "${OW}x10+${OX}+$((OY + 2))")
bottom=$(e2e_region_dominant_rgb "$shot" "${OW}x10+${OX}+$((OY + OH - 12))")
middle=$(e2e_region_dominant_rgb "$shot" "${OW}x$((OH / 2))+${OX}+$((OY + OH / 4))")
(($(e2e_colour_distance "$top" "$bottom") < 8)) ||
    e2e_fail "top strip ($top) and bottom strip ($bottom) differ"
(($(e2e_colour_distance "$top" "$middle") > 30)) ||
    e2e_fail "the middle ($middle) looks like the strips ($top): overlay opaque?"
e2e_pass "strips drawn ($top), middle shows through ($middle)"

# --- The overlay follows the window when it moves.
timeout "$E2E_WAIT_SECONDS" xdotool windowmove --sync "$e2e_main_window" 40 50 >/dev/null 2>&1 || true
overlay_followed() {
    e2e_geometry "$e2e_main_window"
    local mx=$X my=$Y
    e2e_geometry "$overlay"
    e2e_last_seen="overlay at $X,$Y, main window at $mx,$my"
    ((mx != MX || my != MY)) && ((X == mx && Y - my == OY - MY))
}
e2e_wait_until "the overlay to follow the moved window" overlay_followed
e2e_check_overlay_over_video_area "$overlay"

# --- Quit.
e2e_quit_with_ctrl_q 2
