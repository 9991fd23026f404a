#!/usr/bin/env bash
# Refused files are told in one alert, and quitting works while it is up:
# twenty text files on the command line raise a single "Unsupported format"
# alert; Ctrl+Q ends the player with it open, and so does closing the main
# window through the window manager (Alt+F4 in openbox).
# Usage: alert_quit_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}

e2e_require_tools
e2e_clean_environment
texts=()
for i in $(seq -w 1 20); do
    printf 'notes %s\n' "$i" >"$e2e_tmp/notes $i.txt"
    texts+=("$e2e_tmp/notes $i.txt")
done
e2e_start_x
e2e_start_wm
e2e_start_compositor

# The app's dialog windows on screen, one id a line.
alert_windows() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$e2e_glaze_pid" 2>/dev/null); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG &&
            printf '%s\n' "$id"
    done
    return 0
}
one_alert() {
    local count
    count=$(alert_windows | wc -l)
    e2e_last_seen="$count alert windows"
    ((count == 1))
}
start_with_alert() {
    e2e_start_glaze "${texts[@]}"
    e2e_wait_until "the alert" one_alert
    # Given time, no second alert follows.
    sleep 1
    one_alert || e2e_fail "alerts for one addition: $e2e_last_seen"
    e2e_pass "twenty refused files, one alert"
}

start_with_alert
e2e_quit_with_ctrl_q 3

start_with_alert
xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
e2e_wait_until "the Glaze window to take the focus" e2e_glaze_has_focus
xdotool key --clearmodifiers alt+F4 >/dev/null 2>&1 || true
status=0
for _ in $(seq 1 $((E2E_WAIT_SECONDS * 20))); do
    kill -0 "$e2e_glaze_pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$e2e_glaze_pid" 2>/dev/null && e2e_fail "glaze still running after its window was closed"
wait "$e2e_glaze_pid" || status=$?
e2e_glaze_pid=
((status == 0)) || e2e_fail "glaze exited with status $status after its window was closed"
e2e_pass "closing the main window with the alert up ended glaze with status 0"
