#!/usr/bin/env bash
# What the player remembers over a quit, as a hand meets it: started again on
# the same clip, it continues where the first run quit (the real engine seeks
# there), in the window where that run left it, with the playlist panel open.
# Usage: settings_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
# shellcheck source=panel_lib.sh
source "$here/panel_lib.sh"
GLAZE=${1:-}

panel_prepare
clip=$e2e_tmp/Alpha.mp4
panel_make_clip "$clip" testsrc

# The spent time, the first time read-out the overlay shows, in seconds. The
# pointer stirs over the picture first: the read-outs hide as the overlay fades.
spent_seconds() {
    stir=$((1 - ${stir:-0}))
    xdotool mousemove $((OX + 100 + stir)) $((OY + OH / 2))
    panel_read || return 1
    spent=$(awk -F'\t' '$1 == "label" && $2 ~ /^[0-9]+:[0-9][0-9]:[0-9][0-9]$/ {
        split($2, t, ":"); print t[1] * 3600 + t[2] * 60 + t[3]; exit }' <<<"$panel_state")
    e2e_last_seen="${spent:-no} seconds spent"
    [[ -n $spent ]]
}
spent_at_least() { spent_seconds && ((spent >= $1)); }

e2e_start_x
e2e_start_wm
e2e_start_glaze "$clip"
e2e_wait_for_overlay
xdotool windowmove --sync "$e2e_main_window" 120 90 windowsize --sync "$e2e_main_window" 720 480
e2e_check_overlay_over_video_area "$e2e_overlay"
panel_open
e2e_wait_until "the clip to play past its first 5 %" spent_at_least 6
left=$spent
e2e_geometry "$e2e_main_window"
window="${WIDTH}x${HEIGHT}+${X}+${Y}"
e2e_quit_with_ctrl_q 2

# Started without files, it shows the window and the panel as they were left
# (files handed over play in the whole window, as a drop does).
e2e_start_glaze
e2e_wait_for_overlay
e2e_geometry "$e2e_main_window"
[[ "${WIDTH}x${HEIGHT}+${X}+${Y}" == "$window" ]] ||
    e2e_fail "main window at ${WIDTH}x${HEIGHT}+${X}+${Y}, left at $window"
e2e_wait_until "the panel to be open again" panel_overlay_narrowed
((OX + WIDTH == panel_left)) || e2e_fail "the overlay ends at $((OX + WIDTH)), the panel at $panel_left"
e2e_pass "window at $window and the panel open, as left"
e2e_quit_with_ctrl_q 2

started=$(e2e_now)
e2e_start_glaze "$clip"
e2e_wait_for_overlay
e2e_wait_until "the clip to continue from ${left} s" spent_at_least "$left"
took=$(e2e_elapsed "$started" "$(e2e_now)")
# Played from its start it would take as long to get there.
awk -v t="$took" -v s="$left" 'BEGIN { exit !(t < s - 2) }' ||
    e2e_fail "${left} s spent only ${took} s after the start: not continued"
e2e_pass "continued from ${left} s (${spent} s spent ${took} s after the start)"
e2e_quit_with_ctrl_q 2
