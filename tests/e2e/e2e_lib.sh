# Helpers shared by the end-to-end tests, sourced by each test script.
#
# Each test gets a private X server (Xvfb on a free display), openbox, and
# optionally xcompmgr, runs the real glaze binary on it and drives it with
# xdotool. Everything started here carries a per-run token in its
# environment, so the exit trap can find and end exactly our processes (and
# anything they spawned) and prove that no glaze process outlived the test.

set -Eeuo pipefail

# How long any single wait may take before the test fails, in seconds.
E2E_WAIT_SECONDS=${E2E_WAIT_SECONDS:-15}
# The whole test's limit, below CTest's TIMEOUT: CTest kills with no chance
# to clean up, and a forked bus would outlive that.
E2E_TOTAL_SECONDS=${E2E_TOTAL_SECONDS:-90}
# Debian's ImageMagick; named by path so no other convert on PATH is taken.
E2E_CONVERT=/usr/bin/convert
E2E_IMPORT=/usr/bin/import

e2e_name=$(basename "$0" .sh)
e2e_tmp=$(mktemp -d "${TMPDIR:-/tmp}/glaze-e2e.XXXXXX")
e2e_token="glaze-e2e-$$-$RANDOM$RANDOM"
e2e_artifacts=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/$e2e_name
e2e_checks=0
e2e_failed=0
e2e_last_error=
e2e_helper_pids=()
e2e_glaze_pid=
e2e_last_seen=
e2e_dbus_pid=
e2e_watchdog_pid=

export GLAZE_E2E_TOKEN=$e2e_token

e2e_started=$EPOCHREALTIME
# Each line carries the seconds since the start, to show where a slow run went.
e2e_log() {
    printf '[%s %ss] %s\n' "$e2e_name" "$(awk -v a="$e2e_started" -v b="$EPOCHREALTIME" \
        'BEGIN { printf "%.2f", b - a }')" "$*"
}

# A failed check keeps a screenshot and the logs, then ends the test.
e2e_fail() {
    e2e_log "FAIL: $*"
    e2e_failed=1
    if [[ -n ${DISPLAY:-} ]]; then
        e2e_screenshot failure >/dev/null 2>&1 || true
    fi
    exit 1
}

e2e_pass() {
    e2e_checks=$((e2e_checks + 1))
    e2e_log "ok: $*"
}

# Seconds since the epoch with microseconds (bash 5).
e2e_now() { printf '%s' "$EPOCHREALTIME"; }
e2e_elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# Runs "$@" until it succeeds or the wait limit passes. A condition may leave
# what it last saw in e2e_last_seen for the failure message.
e2e_wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + E2E_WAIT_SECONDS))
    e2e_last_seen=
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) ||
            e2e_fail "timed out after ${E2E_WAIT_SECONDS}s waiting for $what${e2e_last_seen:+ (last seen: $e2e_last_seen)}"
        sleep 0.05
    done
}

# PIDs of live processes whose environment holds the entry $1 ("NAME=value").
e2e_pids_with() {
    local file pid
    while IFS= read -r file; do
        pid=${file#/proc/}
        pid=${pid%/environ}
        [[ $pid == "$$" || $pid == "$BASHPID" ]] && continue
        # A zombie has already exited; only its parent's wait is missing.
        [[ $(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) == Z ]] && continue
        printf '%s\n' "$pid"
    done < <(grep -lzxF "$1" /proc/[0-9]*/environ 2>/dev/null)
    return 0
}

# Everything this run started: helpers, the services they started, the app.
e2e_token_pids() { e2e_pids_with "GLAZE_E2E_TOKEN=$e2e_token"; }

# The app and anything it started: only they carry this second entry (a bus
# starts its services with its own environment, not the caller's).
e2e_glaze_pids() { e2e_pids_with "GLAZE_E2E_APP=$e2e_token"; }

e2e_describe_pids() {
    local pid
    for pid in "$@"; do printf '%s(%s) ' "$pid" "$(cat "/proc/$pid/comm" 2>/dev/null)"; done
}

e2e_cleanup() {
    local status=$?
    set +e
    # set -e ended the script on a command no check expected to fail.
    if ((status != 0 && !e2e_failed)) && [[ -n $e2e_last_error ]]; then
        e2e_log "FAIL: unexpected error: $e2e_last_error"
    fi
    [[ -n $e2e_watchdog_pid ]] && kill -TERM "$e2e_watchdog_pid" 2>/dev/null
    if [[ -n $e2e_glaze_pid ]] && kill -0 "$e2e_glaze_pid" 2>/dev/null; then
        e2e_log "glaze $e2e_glaze_pid still running at exit: ending it"
        kill -TERM "$e2e_glaze_pid" 2>/dev/null
        sleep 0.5
        kill -KILL "$e2e_glaze_pid" 2>/dev/null
        wait "$e2e_glaze_pid" 2>/dev/null
        status=1
    fi
    # Helpers in reverse order of start: compositor, window manager, X last.
    local i
    for ((i = ${#e2e_helper_pids[@]} - 1; i >= 0; i--)); do
        kill -TERM "${e2e_helper_pids[i]}" 2>/dev/null
    done
    [[ -n $e2e_dbus_pid ]] && kill -TERM "$e2e_dbus_pid" 2>/dev/null
    for ((i = ${#e2e_helper_pids[@]} - 1; i >= 0; i--)); do
        wait "${e2e_helper_pids[i]}" 2>/dev/null
    done
    # A process the app left behind fails the test; end it too.
    local left
    left=$(e2e_glaze_pids)
    if [[ -n $left ]]; then
        # shellcheck disable=SC2086
        e2e_log "FAIL: processes of the app outlived it: $(e2e_describe_pids $left)"
        status=1
    fi
    # Services the bus started (accessibility bus, registry) carry the token
    # too; give them a moment to notice their bus has gone, then end them.
    local deadline=$((SECONDS + 3))
    while left=$(e2e_token_pids) && [[ -n $left ]] && ((SECONDS < deadline)); do
        sleep 0.1
    done
    if [[ -n $left ]]; then
        # shellcheck disable=SC2086
        kill -KILL $left 2>/dev/null
    fi
    if ((status != 0)); then
        mkdir -p "$e2e_artifacts"
        cp -f "$e2e_tmp"/*.png "$e2e_tmp"/*.log "$e2e_artifacts"/ 2>/dev/null
        e2e_log "screenshots and logs kept in $e2e_artifacts"
    else
        e2e_log "passed ($e2e_checks checks)"
    fi
    rm -rf "$e2e_tmp"
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'e2e_last_error="\"$BASH_COMMAND\" (line $LINENO, status $?)"' ERR
trap 'e2e_log "FAIL: interrupted or over ${E2E_TOTAL_SECONDS}s"; exit 124' INT TERM
# The watchdog ends its sleep with itself, so nothing of it outlives the test.
(
    trap 'kill "$nap" 2>/dev/null; exit 0' TERM
    sleep "$E2E_TOTAL_SECONDS" &
    nap=$!
    wait "$nap" && kill -TERM $$
) &
e2e_watchdog_pid=$!

# Tools the tests need; a missing one is a broken test machine, so fail.
e2e_require_tools() {
    local tool
    for tool in Xvfb openbox xcompmgr xdotool xprop xwininfo dbus-daemon "$E2E_IMPORT" "$E2E_CONVERT" "$@"; do
        command -v "$tool" >/dev/null || e2e_fail "missing tool: $tool (see scripts/packages.txt)"
    done
    [[ -x ${GLAZE:-} ]] || e2e_fail "GLAZE must name the glaze binary (got '${GLAZE:-}')"
}

# Clears what could steer the app away from this display or leak the
# caller's desktop into the test, and gives the test a session bus of its own.
e2e_clean_environment() {
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
        QT_AUTO_SCREEN_SCALE_FACTOR QT_STYLE_OVERRIDE QT_ACCESSIBILITY \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XAUTHORITY
    export XDG_RUNTIME_DIR=$e2e_tmp/runtime
    export HOME=$e2e_tmp/home
    export XDG_CONFIG_HOME=$HOME/.config
    mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME"
    # No audio device and no GPU under Xvfb.
    export GLAZE_VLC_OPTIONS=${GLAZE_VLC_OPTIONS:-"--aout=adummy --gl=none --gles2=none"}
    e2e_start_session_bus
}

# Starts Xvfb on a display it picks itself and exports DISPLAY. Arguments go
# to Xvfb (-wr: a white root window).
e2e_start_x() {
    local fdfile=$e2e_tmp/displayfd
    : >"$fdfile"
    Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp -noreset "$@" 9>"$fdfile" \
        >"$e2e_tmp/xvfb.log" 2>&1 &
    e2e_helper_pids+=($!)
    e2e_wait_until "Xvfb to report its display" grep -q '^[0-9]' "$fdfile"
    export DISPLAY=":$(head -n1 "$fdfile")"
    e2e_wait_until "Xvfb to accept clients" xprop -root WM_NAME
    e2e_log "Xvfb on $DISPLAY"
}

e2e_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

e2e_start_wm() {
    openbox --sm-disable >"$e2e_tmp/openbox.log" 2>&1 &
    e2e_helper_pids+=($!)
    e2e_wait_until "openbox to manage the screen" e2e_wm_running
}

# xcompmgr names the window that owns the _NET_WM_CM_S0 selection after
# itself, right as it takes the selection.
e2e_compositor_running() { xdotool search --name '^xcompmgr$'; }

e2e_start_compositor() {
    xcompmgr >"$e2e_tmp/xcompmgr.log" 2>&1 &
    e2e_helper_pids+=($!)
    e2e_wait_until "xcompmgr to take the compositing selection" e2e_compositor_running
}

# A private session bus, ended at cleanup, so the accessibility bus and
# registry it starts are ours alone and go away with it. Without one, where
# dbus-x11 is installed (any desktop), the app's first bus call would
# autolaunch a bus through dbus-launch that outlives it. Starts one bus per
# test however often it is called.
e2e_start_session_bus() {
    [[ -z $e2e_dbus_pid ]] || return 0
    local address
    address=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 \
        3>"$e2e_tmp/dbus.pid" 2>"$e2e_tmp/dbus.log" | awk 'NR == 1')
    [[ -n $address ]] || e2e_fail "no session bus: $(cat "$e2e_tmp/dbus.log")"
    e2e_dbus_pid=$(head -n1 "$e2e_tmp/dbus.pid")
    export DBUS_SESSION_BUS_ADDRESS=$address
}

# Starts glaze in the background; the window must show within the limit.
# Sets e2e_glaze_pid and e2e_main_window.
e2e_start_glaze() {
    GLAZE_E2E_APP=$e2e_token "$GLAZE" "$@" >"$e2e_tmp/glaze.log" 2>&1 &
    e2e_glaze_pid=$!
    # Searched again and again rather than with --sync, which once came back
    # empty at once on a second launch (a former run's window going, it seems).
    local deadline=$((SECONDS + E2E_WAIT_SECONDS))
    until e2e_find_main_window; do
        ((SECONDS < deadline)) ||
            e2e_fail "no visible window titled 'Glaze' within ${E2E_WAIT_SECONDS}s ($(tail -n5 "$e2e_tmp/glaze.log"))"
        sleep 0.05
    done
}
e2e_find_main_window() {
    e2e_main_window=$(xdotool search --all --onlyvisible --pid "$e2e_glaze_pid" --name '^Glaze$' \
        2>/dev/null | awk 'NR == 1') || true
    [[ -n $e2e_main_window ]]
}

# Waits for the app's controls overlay window (it is built after the main
# window shows) and sets e2e_overlay to its id.
e2e_find_overlay() {
    e2e_overlay=$(xdotool search --all --pid "$e2e_glaze_pid" --name '^Glaze Controls$' \
        2>/dev/null | awk 'NR == 1') || true
    [[ -n $e2e_overlay ]]
}
e2e_wait_for_overlay() {
    e2e_wait_until "a 'Glaze Controls' window of the app" e2e_find_overlay
    e2e_wait_until "the overlay to show" e2e_is_viewable "$e2e_overlay"
}

# Sets X Y WIDTH HEIGHT (root coordinates) for a window. xwininfo, because
# xdotool getwindowgeometry counts a reparented window's offset in its frame twice.
e2e_geometry() {
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { print x, y, w, h }') || true
    [[ -n ${HEIGHT:-} ]] || e2e_fail "no geometry for window $1"
}

# The window a client window sits in (the window manager's frame), in decimal.
e2e_parent_of() {
    local hex
    hex=$(xwininfo -tree -id "$1" | awk '/Parent window id:/ { print $4 }')
    printf '%d\n' "$hex"
}

# The top-level (frame) window under the pointer once it is at $1,$2. X asks
# each window's input shape, so a shaped-out part lets the pointer through.
# Prints nothing if the pointer did not get there.
e2e_window_under_pointer() {
    local X='' Y='' WINDOW=''
    xdotool mousemove "$1" "$2" >/dev/null 2>&1 || return 0
    eval "$(xdotool getmouselocation --shell 2>/dev/null | grep -E '^(X|Y|WINDOW)=')"
    [[ $X == "$1" && $Y == "$2" ]] && printf '%s\n' "$WINDOW"
    return 0
}

e2e_is_viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }

# Grabs the whole screen as seen (composited when a compositor runs); prints the path.
e2e_screenshot() {
    local file=$e2e_tmp/$1.png
    "$E2E_IMPORT" -display "$DISPLAY" -window root "png:$file" >/dev/null 2>&1 ||
        return 1
    printf '%s\n' "$file"
}

# Prints "colours stddev" of a region WxH+X+Y of an image; stddev in 0..1.
e2e_region_stats() {
    "$E2E_CONVERT" "$1" -crop "$2" +repage -format '%k %[fx:standard_deviation]' info:
}

# Ends glaze with Ctrl+Q sent to its focused window and checks the exit:
# status 0 within the given seconds.
e2e_quit_with_ctrl_q() {
    local limit=$1 start end status=0
    timeout "$E2E_WAIT_SECONDS" xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
    e2e_wait_until "the Glaze window to take the focus" e2e_glaze_has_focus
    # Typed through XTEST into the focused window, like a keyboard. The window
    # may be gone before the key is released, which xdotool reports as an
    # error; whether the key worked is judged by the exit below.
    start=$(e2e_now)
    xdotool key --clearmodifiers ctrl+q >/dev/null 2>&1 || true
    local deadline=$((SECONDS + E2E_WAIT_SECONDS))
    while kill -0 "$e2e_glaze_pid" 2>/dev/null && [[ $(awk '{ print $3 }' "/proc/$e2e_glaze_pid/stat" 2>/dev/null) != Z ]]; do
        ((SECONDS < deadline)) || e2e_fail "glaze still running ${E2E_WAIT_SECONDS}s after Ctrl+Q"
        sleep 0.01
    done
    end=$(e2e_now)
    wait "$e2e_glaze_pid" || status=$?
    local pid=$e2e_glaze_pid
    e2e_glaze_pid=
    local took
    took=$(e2e_elapsed "$start" "$end")
    ((status == 0)) || e2e_fail "glaze exited with status $status after Ctrl+Q ($(tail -n5 "$e2e_tmp/glaze.log"))"
    awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' ||
        e2e_fail "glaze took ${took}s to quit after Ctrl+Q (limit ${limit}s)"
    e2e_pass "Ctrl+Q ended glaze $pid with status 0 in ${took}s"
    # Whatever the app started must be gone with it (a moment to exit allowed).
    local left deadline=$((SECONDS + 2))
    while left=$(e2e_glaze_pids) && [[ -n $left ]] && ((SECONDS < deadline)); do
        sleep 0.05
    done
    # shellcheck disable=SC2086
    [[ -z $left ]] || e2e_fail "processes of the app left after quitting: $(e2e_describe_pids $left)"
    e2e_pass "no process of the app left"
}

# True when the X focus is on a window that belongs to our glaze process.
e2e_glaze_has_focus() {
    local focused
    focused=$(xdotool getwindowfocus) || return 1
    [[ $(xdotool getwindowpid "$focused" 2>/dev/null) == "$e2e_glaze_pid" ]]
}

# True when the overlay lies exactly over the main window: the window has no
# frame and shows no menu bar, so the video area is all of it. Sets the
# overlay's geometry as OX OY OW OH and the main window's as MX MY MW MH.
e2e_overlay_over_video_area() {
    e2e_last_seen="the overlay is not shown"
    e2e_is_viewable "$1" || return 1
    e2e_geometry "$e2e_main_window"
    MX=$X MY=$Y MW=$WIDTH MH=$HEIGHT
    e2e_geometry "$1"
    OX=$X OY=$Y OW=$WIDTH OH=$HEIGHT
    e2e_last_seen="overlay ${OW}x${OH}+${OX}+${OY}, main window ${MW}x${MH}+${MX}+${MY}"
    ((OX == MX && OY == MY && OW == MW && OH == MH))
}

# Waits for that: while files given at start are being added, a status line
# at the bottom of the window takes its height from the video area.
e2e_check_overlay_over_video_area() {
    e2e_wait_until "the overlay to cover the video area" e2e_overlay_over_video_area "$1"
    e2e_pass "overlay covers the video area ($e2e_last_seen)"
}

# The colour of one screen pixel, as "r g b".
e2e_pixel_rgb() {
    "$E2E_IMPORT" -display "$DISPLAY" -window root -crop "1x1+$1+$2" +repage -depth 8 rgb:- |
        od -An -tu1 | awk '{ print $1, $2, $3 }'
}

# Whether the overlay's controls show, judged by the close button's red at the
# title bar's left end (a point of its circle off its symbol); the buttons are
# hidden in full screen. Needs OX OY (and QT_SCALE_FACTOR, a whole number, when set).
e2e_controls_shown() {
    local rgb
    local scale=${QT_SCALE_FACTOR:-1}
    rgb=$(e2e_pixel_rgb $((OX + 8 * scale)) $((OY + 22 * scale)))
    e2e_last_seen="the close button's pixel: $rgb"
    (($(e2e_colour_distance "$rgb" "255 95 87") < 40))
}

# The controls hide 3 s after the pointer last moved over the overlay: this
# moves it to X,Y (a pixel to and fro, so each turn is a move) until they show.
e2e_nudge=0
e2e_nudge_until_shown() {
    e2e_nudge=$((1 - e2e_nudge))
    xdotool mousemove $(($1 + e2e_nudge)) "$2"
    e2e_controls_shown
}
e2e_show_controls() { # X Y
    e2e_wait_until "the overlay's controls to show" e2e_nudge_until_shown "$1" "$2"
}

# Waits SECONDS moving the pointer a pixel to and fro at X,Y every 0.3 s,
# so the controls stay shown.
e2e_keep_controls_for() { # SECONDS X Y
    local end
    end=$(awk -v now="$EPOCHREALTIME" -v s="$1" 'BEGIN { printf "%.3f", now + s }')
    while awk -v now="$EPOCHREALTIME" -v end="$end" 'BEGIN { exit !(now < end) }'; do
        e2e_nudge=$((1 - e2e_nudge))
        xdotool mousemove $(($2 + e2e_nudge)) "$3"
        sleep 0.3
    done
}

# Distance between two colours "r g b" (0..255 per channel), Euclidean.
e2e_colour_distance() {
    awk -v a="$1" -v b="$2" 'BEGIN { split(a, p, " "); split(b, q, " ");
        printf "%.0f", sqrt((p[1]-q[1])^2 + (p[2]-q[2])^2 + (p[3]-q[3])^2) }'
}

# Which window the pointer reaches over a grid across the overlay's video
# band (between a quarter and three quarters of its height; 9 x 5 points).
# Prints "overlay main other" counts. Needs OX OY OW OH and the two frames.
e2e_pointer_grid() {
    local overlay_frame=$1 main_frame=$2 overlay_id=$3 main_id=$4
    local row col x y under on_overlay=0 on_main=0 other=0
    for row in 2 3 4 5 6; do
        y=$((OY + OH * row / 8))
        for col in 1 2 3 4 5 6 7 8 9; do
            x=$((OX + OW * col / 10))
            under=$(e2e_window_under_pointer "$x" "$y")
            if [[ $under == "$overlay_frame" || $under == "$overlay_id" ]]; then
                on_overlay=$((on_overlay + 1))
            elif [[ $under == "$main_frame" || $under == "$main_id" ]]; then
                on_main=$((on_main + 1))
            else
                other=$((other + 1))
            fi
        done
    done
    printf '%s %s %s\n' "$on_overlay" "$on_main" "$other"
}

# The colour most pixels of a region WxH+X+Y have, as "r g b".
e2e_region_dominant_rgb() {
    # Lines read "count: (r,g,b) #hex name"; awk reads them all (no SIGPIPE).
    "$E2E_CONVERT" "$1" -crop "$2" +repage -depth 8 -format %c histogram:info:- |
        awk '$1 + 0 > best && match($0, /\([0-9]+,[0-9]+,[0-9]+/) {
                best = $1 + 0; rgb = substr($0, RSTART + 1, RLENGTH - 1) }
            END { gsub(",", " ", rgb); print rgb }'
}

# Runs a command that opens one of glaze's menus, and waits for the menu: a
# popup is one more window of the process.
e2e_glaze_windows() { xdotool search --onlyvisible --pid "$e2e_glaze_pid" 2>/dev/null | wc -l; }
e2e_open_menu_by() { # COMMAND...
    local before
    before=$(e2e_glaze_windows)
    "$@"
    e2e_wait_until "a menu to open" eval '(($(e2e_glaze_windows) > before))'
}
