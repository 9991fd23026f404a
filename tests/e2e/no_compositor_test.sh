#!/usr/bin/env bash
# Without a compositor X would show the translucent overlay opaque over the
# picture, so it is shaped to what it draws: the clip named on the command
# line shows in the middle under the drawn strips, and a file dragged from a
# GTK window onto the picture, reaching the main window through the shape,
# plays.
# Usage: no_compositor_test.sh GLAZE_BINARY
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
GLAZE=$1

e2e_make_clip "$e2e_tmp/red.mp4" color=c=red
ln "$e2e_tmp/red.mp4" "$e2e_tmp/dropped.mp4"
e2e_start_desktop --no-compositor
e2e_start_glaze "$e2e_tmp/red.mp4"
xwininfo -shape -id "$overlay" | grep -q 'Window shape extents' || e2e_fail "the overlay is not shaped"
e2e_pass "the overlay is shaped"

picture_between_strips() {
    e2e_nudge_to $((OX + OW / 2)) $((OY + OH / 2))
    e2e_shot picture || return 1
    local middle top
    middle=$(e2e_dominant "$((OW / 2))x$((OH / 2))+$((OX + OW / 4))+$((OY + OH / 4))")
    top=$(e2e_dominant "$((OW / 2))x10+$((OX + OW / 4))+$((OY + 2))")
    e2e_last_seen="middle $middle, top strip $top"
    e2e_near "$middle" "255 0 0" 30 && ! e2e_near "$top" "$middle" 100
}
e2e_wait_until "the picture between the strips" picture_between_strips
e2e_pass "$e2e_last_seen"

e2e_drop $((OX + OW / 3)) $((OY + OH / 2)) "$e2e_tmp/dropped.mp4"
e2e_wait_until "the dropped clip to play" e2e_plays dropped 2
e2e_pass "a drop on the picture plays"
e2e_quit
