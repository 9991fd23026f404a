#!/usr/bin/env bash
# One player per user, and what it keeps over a quit: a second `glaze FILE`
# hands the file over, ends at once with status 0 and the running player
# plays it, back from being minimized; the window's place and size come back
# after a quit; a text file handed over raises an alert, and Ctrl+Q still
# quits.
# Usage: session_test.sh GLAZE_BINARY
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
GLAZE=$1

e2e_make_clip "$e2e_tmp/a.mp4" testsrc
ln "$e2e_tmp/a.mp4" "$e2e_tmp/b.mp4"
echo notes >"$e2e_tmp/notes.txt"
e2e_start_desktop --no-compositor
hand_over() { # FILE
    GLAZE_E2E_APP=$e2e_token timeout 10 "$GLAZE" "$1" >>"$e2e_tmp/second.log" 2>&1 ||
        e2e_fail "a second glaze $1 ended with status $?"
}

e2e_start_glaze "$e2e_tmp/a.mp4"
e2e_wait_until "'a' to play" e2e_plays a 1
xdotool windowminimize "$main"
e2e_wait_until "the window minimized" eval '! e2e_geometry "$main" M'
hand_over "$e2e_tmp/b.mp4"
e2e_wait_until "'b' to play" e2e_plays b 2
e2e_wait_until "the window to come back" e2e_geometry "$main" M
e2e_pass "a second glaze handed 'b' over; it plays and the window is back"

timeout 10 xdotool windowmove --sync "$main" 120 90 windowsize --sync "$main" 720 480 || true
e2e_wait_until "the window moved and resized" eval 'e2e_overlay_covers && [[ "$MX $MY $MW $MH" == "120 90 720 480" ]]'
e2e_quit
e2e_start_glaze
[[ "$MX $MY $MW $MH" == "120 90 720 480" ]] || e2e_fail "the window came back at ${MW}x${MH}+${MX}+${MY}"
e2e_pass "the window came back where it was left"

alert_up() { # a dialog window of the app shows
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$e2e_glaze_pid"); do
        [[ $(xprop -id "$id" _NET_WM_WINDOW_TYPE) == *DIALOG* ]] && return 0
    done
    return 1
}
hand_over "$e2e_tmp/notes.txt"
e2e_wait_until "the alert" alert_up
e2e_pass "a text file handed over raises an alert"
e2e_quit
