#!/usr/bin/env bash
# One player per user. The running player holds the MPRIS name on the session
# bus. A second `glaze FILE` hands the file over and exits 0 at once: the
# player plays it and comes back from being minimized. `glaze --enqueue FILE`
# only appends, also twenty times in a row while the player is still adding.
# A player killed with SIGKILL leaves its socket behind; a new one, without a
# session bus, still starts, says so once and takes files handed over by a
# `glaze` without a bus; quitting takes the socket away. What plays and the
# table's row count are read through the accessibility tree.
# Usage: instance_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
# shellcheck source=panel_lib.sh
source "$here/panel_lib.sh"
GLAZE=${1:-}

# Started, handed over and gone: a second glaze never has a window to wait for.
hand_over_limit=5

e2e_require_tools dbus-send
panel_prepare
panel_make_clip "$e2e_tmp/a.mp4" testsrc
# The same clip under more names: a player adds each path once.
for name in b c more{01..05} burst{01..20}; do ln "$e2e_tmp/a.mp4" "$e2e_tmp/$name.mp4"; done
e2e_start_x
e2e_start_wm

# Runs a second glaze, which must exit 0 within the limit.
hand_over() { # ARGUMENTS...
    local start status=0 took
    start=$(e2e_now)
    GLAZE_E2E_APP=$e2e_token timeout "$E2E_WAIT_SECONDS" "$GLAZE" "$@" \
        >>"$e2e_tmp/second.log" 2>&1 || status=$?
    took=$(e2e_elapsed "$start" "$(e2e_now)")
    ((status == 0)) || e2e_fail "glaze $* exited with status $status after ${took}s"
    awk -v t="$took" -v l="$hand_over_limit" 'BEGIN { exit !(t <= l) }' ||
        e2e_fail "glaze $* took ${took}s to hand over (limit ${hand_over_limit}s)"
    hand_over_took=$took
}

# A second `glaze FILE` brings the minimized window back.
hand_over_raises() { # FILE
    xdotool windowminimize --sync "$e2e_main_window"
    hand_over "$1"
    e2e_wait_until "the window to come back" e2e_is_viewable "$e2e_main_window"
}

mpris_owner_pid() {
    dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.GetConnectionUnixProcessID string:org.mpris.MediaPlayer2.glaze |
        awk '{ print $2 }'
}
mpris_owned_by() { # PID
    e2e_last_seen="held by '$(mpris_owner_pid 2>/dev/null)'"
    [[ $(mpris_owner_pid) == "$1" ]]
}

e2e_start_glaze "$e2e_tmp/a.mp4"
e2e_wait_until "'a' to play" panel_plays a 1
e2e_wait_until "the MPRIS name" mpris_owned_by "$e2e_glaze_pid"
e2e_pass "glaze $e2e_glaze_pid plays 'a' and holds org.mpris.MediaPlayer2.glaze"

hand_over_raises "$e2e_tmp/b.mp4"
e2e_wait_until "'b' to play" panel_plays b 2
e2e_pass "a second glaze handed 'b' over in ${hand_over_took}s: it plays, the window is back"

hand_over --enqueue "$e2e_tmp/c.mp4"
e2e_wait_until "'c' appended" panel_plays b 3
e2e_pass "--enqueue handed 'c' over in ${hand_over_took}s: appended, 'b' plays on"

# Five files to add, and twenty more glazes while the player adds them.
hand_over --enqueue "$e2e_tmp"/more*.mp4
for file in "$e2e_tmp"/burst*.mp4; do hand_over --enqueue "$file"; done
E2E_WAIT_SECONDS=60 e2e_wait_until "all 25 appended" panel_plays b 28
e2e_pass "twenty glazes in a row while adding: all 25 files appended, 'b' plays on"

# As a crash leaves it: the socket stays, nobody listens.
kill -KILL "$e2e_glaze_pid"
wait "$e2e_glaze_pid" 2>/dev/null || true
e2e_glaze_pid=
[[ -S $XDG_RUNTIME_DIR/org.glaze.Glaze.instance ]] || e2e_fail "no socket left by the killed player"

export DBUS_SESSION_BUS_ADDRESS=unix:path=$e2e_tmp/no-bus
e2e_start_glaze "$e2e_tmp/c.mp4"
e2e_pass "after a SIGKILL a new player $e2e_glaze_pid shows its window, without a session bus"
hand_over_raises "$e2e_tmp/a.mp4"
e2e_pass "without a bus, a second glaze handed 'a' over in ${hand_over_took}s: the window is back"
told=$(grep -ac 'no session bus' "$e2e_tmp/glaze.log") || true
((told == 1)) || e2e_fail "'no session bus' told $told times: $(tail -n5 "$e2e_tmp/glaze.log")"
e2e_pass "the player told once that it has no session bus"

e2e_quit_with_ctrl_q 2
[[ ! -e $XDG_RUNTIME_DIR/org.glaze.Glaze.instance ]] || e2e_fail "the socket outlived the player"
e2e_pass "the socket went with the player"
