# shellcheck shell=bash
# Helpers shared by the end-to-end scripts, sourced by each one.
#
# A script gets a private Xvfb, openbox, optionally xcompmgr and a session bus
# of its own, runs the real glaze on them, drives it with xdotool and checks
# screenshots, X window state and the accessibility tree. Everything started
# here carries a per-run token in its environment, so the exit trap ends
# exactly what this run started.

set -Eeuo pipefail

# How long any single wait may take, in seconds: generous for a busy machine.
E2E_WAIT_SECONDS=${E2E_WAIT_SECONDS:-30}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
e2e_name=$(basename "$0" .sh)
e2e_tmp=$(mktemp -d "${TMPDIR:-/tmp}/glaze-e2e.XXXXXX")
e2e_token=glaze-e2e-$$-$RANDOM$RANDOM
e2e_artifacts=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/$e2e_name
e2e_helpers=() e2e_glaze_pid='' e2e_last_seen='' e2e_last_error='' e2e_failed=0
export GLAZE_E2E_TOKEN=$e2e_token

e2e_log() { printf '[%s %ss] %s\n' "$e2e_name" "$SECONDS" "$*"; }
e2e_pass() { e2e_log "ok: $*"; }
# A failed check keeps a screenshot and the logs, then ends the script.
e2e_fail() {
    e2e_log "FAIL: $*"
    e2e_failed=1
    [[ -z ${DISPLAY:-} ]] || e2e_shot failure || true
    exit 1
}

# Runs "$@" until it succeeds; a condition may leave what it last saw in
# e2e_last_seen for the failure message.
e2e_wait_until() { # WHAT COMMAND...
    local what=$1 deadline=$((SECONDS + E2E_WAIT_SECONDS))
    shift
    e2e_last_seen=
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || e2e_fail "timed out waiting for $what${e2e_last_seen:+ (last seen: $e2e_last_seen)}"
        sleep 0.05
    done
}

# Live processes whose environment holds the entry $1 ("NAME=value").
e2e_pids_with() {
    local file pid
    for file in $(grep -lzxF "$1" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${file//[^0-9]/}
        [[ $pid != "$$" && $pid != "$BASHPID" && $(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) != Z ]] &&
            printf '%s ' "$pid"
    done
    return 0
}

e2e_cleanup() {
    local status=$? i left
    set +e
    ((status == 0 || e2e_failed)) || e2e_log "FAIL: unexpected error: $e2e_last_error"
    [[ -z $e2e_glaze_pid ]] || kill -KILL "$e2e_glaze_pid" 2>/dev/null
    for ((i = ${#e2e_helpers[@]} - 1; i >= 0; i--)); do kill -TERM "${e2e_helpers[i]}" 2>/dev/null; done
    wait 2>/dev/null
    # The bus and the services it started carry the token too.
    left=$(e2e_pids_with "GLAZE_E2E_TOKEN=$e2e_token")
    # shellcheck disable=SC2086
    [[ -z $left ]] || kill -KILL $left 2>/dev/null
    if ((status != 0)); then
        mkdir -p "$e2e_artifacts"
        cp -f "$e2e_tmp"/*.png "$e2e_tmp"/*.log "$e2e_artifacts"/ 2>/dev/null
        e2e_log "screenshots and logs kept in $e2e_artifacts"
    fi
    rm -rf "$e2e_tmp"
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'e2e_last_error="\"$BASH_COMMAND\" (line $LINENO, status $?)"' ERR
trap 'e2e_failed=1 && e2e_log "FAIL: interrupted"; exit 124' INT TERM

# SECONDS (a minute unless told) of an ffmpeg test source (testsrc, color=c=red, ...) as H.264.
e2e_make_clip() { # FILE SOURCE [SECONDS]
    local options=size=320x180:rate=25
    [[ $2 == *=* ]] && options=$2:$options || options=$2=$options
    ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "$options" -t "${3:-60}" \
        -pix_fmt yuv420p -c:v libx264 -preset ultrafast "$1" || e2e_fail "ffmpeg could not make $1"
}

# A clean home, a session bus of its own (so the accessibility bus it starts
# goes with it), Xvfb, openbox and, unless --no-compositor, xcompmgr.
# Further arguments go to Xvfb.
e2e_start_desktop() { # [--no-compositor] [Xvfb ARGS...]
    local compositor=1
    [[ ${1:-} != --no-compositor ]] || { compositor=0 && shift; }
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_STYLE_OVERRIDE \
        QT_AUTO_SCREEN_SCALE_FACTOR QT_ACCESSIBILITY SESSION_MANAGER XAUTHORITY
    export XDG_RUNTIME_DIR=$e2e_tmp/runtime HOME=$e2e_tmp/home XDG_CONFIG_HOME=$e2e_tmp/home/.config
    mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
    export GLAZE_VLC_OPTIONS=${GLAZE_VLC_OPTIONS:-"--aout=adummy --gl=none --gles2=none"}
    # Qt only serves the accessibility tree when asked; no screen reader runs here.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 2>"$e2e_tmp/dbus.log" | head -n1)
    export DBUS_SESSION_BUS_ADDRESS
    [[ -n $DBUS_SESSION_BUS_ADDRESS ]] || e2e_fail "no session bus"
    Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp "$@" 9>"$e2e_tmp/display" >"$e2e_tmp/xvfb.log" 2>&1 &
    e2e_helpers+=($!)
    e2e_wait_until "Xvfb to report its display" grep -q '^[0-9]' "$e2e_tmp/display"
    export DISPLAY=":$(head -n1 "$e2e_tmp/display")"
    openbox --sm-disable >"$e2e_tmp/openbox.log" 2>&1 &
    e2e_helpers+=($!)
    e2e_wait_until "openbox to manage the screen" eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
    ((compositor)) || return 0
    xcompmgr >"$e2e_tmp/xcompmgr.log" 2>&1 &
    e2e_helpers+=($!)
    # xcompmgr names its selection window after itself as it takes the selection.
    e2e_wait_until "xcompmgr to take the compositing selection" xdotool search --name '^xcompmgr$'
}

# Starts glaze in the background and waits for its window and, lying exactly
# over it (no frame, no menu bar), the controls overlay. Sets main, overlay,
# MX MY MW MH and OX OY OW OH.
e2e_start_glaze() {
    GLAZE_E2E_APP=$e2e_token "$GLAZE" "$@" >>"$e2e_tmp/glaze.log" 2>&1 &
    e2e_glaze_pid=$!
    e2e_wait_until "the window 'Glaze'" e2e_find main '^Glaze$' --onlyvisible
    e2e_wait_until "the window 'Glaze Controls'" e2e_find overlay '^Glaze Controls$'
    e2e_wait_until "the overlay over the whole window" e2e_overlay_covers
}
e2e_find() { # VARIABLE TITLE [xdotool search options]
    local id
    id=$(xdotool search --all "${@:3}" --pid "$e2e_glaze_pid" --name "$2" | head -n1)
    [[ -n $id ]] && printf -v "$1" %s "$id"
}
# True when the overlay shows over the main window, WIDTH wide from its left.
e2e_overlay_covers() { # WIDTH
    e2e_geometry "$main" M && e2e_geometry "$overlay" O || return 1
    e2e_last_seen="overlay ${OW}x${OH}+${OX}+${OY}, window ${MW}x${MH}+${MX}+${MY}"
    [[ "$OX $OY $OH" == "$MX $MY $MH" ]] && ((OW == ${1:-MW}))
}

# Sets PREFIX{X,Y,W,H} to a window's place on the root; false unless it shows.
# xwininfo, as xdotool counts a reparented window's offset in its frame twice.
e2e_geometry() { # ID PREFIX
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    read -r "${2}X" "${2}Y" "${2}W" "${2}H" < <(awk '/Absolute upper-left X:/ { x = $4 }
        /Absolute upper-left Y:/ { y = $4 } /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { print x, y, w, h }' <<<"$info")
    [[ $info == *IsViewable* ]]
}

# Takes a screenshot of the screen as seen (composited, when a compositor runs) into shot.
e2e_shot() { # NAME
    shot=$e2e_tmp/$1.png
    import -display "$DISPLAY" -window root "png:$shot" >/dev/null 2>&1
}
# The number of colours in a region WxH+X+Y of the last screenshot.
e2e_colours() { convert "$shot" -crop "$1" +repage -format %k info:; }
# The colour most pixels of a region of the last screenshot have, as "r g b".
e2e_dominant() {
    convert "$shot" -crop "$1" +repage -depth 8 -format %c histogram:info:- |
        awk '$1 + 0 > best && match($0, /\([0-9]+,[0-9]+,[0-9]+/) {
                best = $1 + 0; rgb = substr($0, RSTART + 1, RLENGTH - 1) }
            END { gsub(",", " ", rgb); print rgb }'
}
# True when two colours "r g b" lie within DISTANCE of each other.
e2e_near() { # RGB RGB DISTANCE
    awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { split(a, p); split(b, q)
        exit !(sqrt((p[1]-q[1])^2 + (p[2]-q[2])^2 + (p[3]-q[3])^2) <= d) }'
}

# Whether the controls show, judged by the close button's red at the title
# bar's left end.
e2e_controls_shown() {
    local scale=${QT_SCALE_FACTOR:-1} rgb
    rgb=$(import -display "$DISPLAY" -window root -crop "1x1+$((OX + 8 * scale))+$((OY + 22 * scale))" \
        +repage -depth 8 rgb:- | od -An -tu1)
    e2e_last_seen="the close button's pixel: $rgb"
    e2e_near "$rgb" "255 95 87" 40
}
e2e_controls_hidden() { ! e2e_controls_shown; }
# Moves the pointer to X,Y, a pixel aside every other time, so each call is a move.
e2e_nudge=0
e2e_nudge_to() { # X Y
    e2e_nudge=$((1 - e2e_nudge))
    xdotool mousemove $(($1 + e2e_nudge)) "$2"
}
e2e_show_controls() { # X Y
    e2e_wait_until "the controls to show" eval "e2e_nudge_to $1 $2 && e2e_controls_shown"
}

# Types keys into glaze's main window once it has the focus.
e2e_key() { # KEY...
    timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
    e2e_wait_until "Glaze to take the focus" eval '[[ $(xdotool getwindowpid "$(xdotool getwindowfocus)") == "$e2e_glaze_pid" ]]'
    # The window may be gone before the key is released, which xdotool reports.
    xdotool key --clearmodifiers "$@" || true
}

# Quits glaze with Ctrl+Q: it must end with status 0, and all it started with it.
e2e_quit() {
    e2e_key ctrl+q
    e2e_wait_until "glaze to end after Ctrl+Q" e2e_glaze_ended
    local status=0
    wait "$e2e_glaze_pid" || status=$?
    e2e_glaze_pid=
    ((status == 0)) || e2e_fail "glaze ended with status $status after Ctrl+Q: $(tail -n5 "$e2e_tmp/glaze.log")"
    e2e_wait_until "the app's processes to end with it" eval '[[ -z $(e2e_pids_with GLAZE_E2E_APP=$e2e_token) ]]'
    e2e_pass "Ctrl+Q ended glaze with status 0"
}

e2e_glaze_ended() { [[ $(awk '{ print $3 }' "/proc/$e2e_glaze_pid/stat" 2>/dev/null) =~ ^Z?$ ]]; }

# Reads the app's accessibility tree into tree (see read_tree.py).
e2e_tree() { tree=$(/usr/bin/python3 "$here/read_tree.py" "$e2e_glaze_pid"); }
# True when NAME plays and the playlist has ROWS rows.
e2e_plays() { # NAME ROWS
    e2e_tree || return 1
    e2e_last_seen=$(head -n2 <<<"$tree" | tr '\t\n' ' ,')
    [[ $(head -n2 <<<"$tree") == $'name\t'"$1"$'\nrows\t'"$2" ]]
}
# Sets CX CY to the middle of a button or field, found by its name in the
# tree. The pointer stirs: the tree lists the overlay's controls only while shown.
e2e_centre_of() { # NAME
    e2e_wait_until "'$1' in the accessibility tree" e2e_stir_and_find "$1"
    local x y w h
    read -r x y w h < <(awk -F'\t' -v n="$1" '$2 == n { print $3; exit }' <<<"$tree")
    CX=$((x + w / 2)) CY=$((y + h / 2))
}
e2e_stir_and_find() { # NAME
    e2e_nudge_to $((OX + 100)) $((OY + OH / 2))
    e2e_tree && awk -F'\t' -v n="$1" '$2 == n { found = 1 } END { exit !found }' <<<"$tree"
}

# Opens the playlist panel: the overlay narrows, the panel at its right is
# drawn, in its grey, with thumbnails and names.
e2e_open_panel() {
    e2e_centre_of "Show Playlist"
    # The pointer on the button brings the controls back, if they hid meanwhile.
    e2e_show_controls "$CX" "$CY"
    xdotool click 1
    e2e_wait_until "the overlay to narrow" eval 'e2e_geometry "$overlay" O && ((OW < MW))'
    e2e_wait_until "the panel drawn" e2e_panel_drawn
}
e2e_panel_drawn() {
    local strip=$((MW - OW))x$((OH / 2))+$((OX + OW))+$((OY + 40)) colours grey
    e2e_shot panel && colours=$(e2e_colours "$strip") && grey=$(e2e_dominant "$strip")
    e2e_last_seen="the panel mostly $grey, $colours colours"
    e2e_near "$grey" "41 41 41" 6 && ((colours > 50))
}

# A GTK window, another toolkit than Qt, offers FILES as text/uri-list; the
# pointer drags from it to X,Y as a hand would, and the drop must be taken.
e2e_drop() { # X Y FILE...
    local log=$e2e_tmp/drag.log
    /usr/bin/python3 "$here/drag_source.py" "${@:3}" >"$log" 2>&1 &
    local source_pid=$! source
    e2e_helpers+=("$source_pid")
    e2e_wait_until "the drag source to show" grep -qx ready "$log"
    # Asked until it answers: xdotool gives up when any window goes while it looks.
    e2e_wait_until "the drag source's window" eval 'source=$(xdotool search --name "^Drag source$" | head -n1) && [[ -n $source ]]'
    xdotool windowmove --sync "$source" 1100 650
    e2e_wait_until "the drag source in the free corner" eval 'e2e_geometry "$source" S && ((SX >= 1100 && SY >= 650))'
    xdotool mousemove $((SX + SW / 2)) $((SY + SH / 2)) mousedown 1
    # GTK tells the target where the pointer is only when it moves.
    e2e_wait_until "the drag to begin" e2e_nudge_until "$log" begin $((SX + SW / 2 + 20)) $((SY + SH / 2))
    e2e_wait_until "the target to take the drag" e2e_nudge_until "$log" "action copy" "$1" "$2"
    xdotool mouseup 1
    e2e_wait_until "the drop to be taken as a copy" grep -qx 'end copy' "$log"
    kill "$source_pid"
}
e2e_nudge_until() { # LOG LINE X Y
    e2e_nudge_to "$3" "$4"
    grep -qx "$2" "$1"
}
