# Sourced by the benchmark scripts: a private X session (Xvfb, openbox and,
# when $compositor is 1, xcompmgr) that goes away with the script, plus the
# engine options both Glaze and its floors run with. Kills $program (if set)
# and the session's helpers on exit.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/glaze-bench.XXXXXX")
helpers=()
program=
cleanup() {
    local i
    [[ -n $program ]] && kill -KILL "$program" 2>/dev/null && wait "$program" 2>/dev/null
    for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do kill -TERM "${helpers[i]}" 2>/dev/null || true; done
    for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do wait "${helpers[i]}" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

wait_for() {
    local what=$1 deadline=$((SECONDS + 15))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || { echo "timed out waiting for $what" >&2; exit 1; }
        sleep 0.05
    done
}

unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_LINUX_ACCESSIBILITY_ALWAYS_ON
# No session bus. An address that leads nowhere, rather than none, keeps
# libdbus from autolaunching one through dbus-launch where dbus-x11 is
# installed: that bus would outlive the run and weigh on what is measured.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/no-bus
export XDG_RUNTIME_DIR=$tmp/runtime HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$HOME"
# No audio device, and the X11 video output (no GPU here: GL would run on
# llvmpipe at several times the CPU).
export GLAZE_VLC_OPTIONS=${GLAZE_VLC_OPTIONS:-"--aout=adummy --gl=none --gles2=none"}

: >"$tmp/displayfd"
Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp -noreset 9>"$tmp/displayfd" >/dev/null 2>&1 &
helpers+=($!)
wait_for "Xvfb" grep -q '^[0-9]' "$tmp/displayfd"
export DISPLAY=":$(head -n1 "$tmp/displayfd")"
openbox --sm-disable >/dev/null 2>&1 &
helpers+=($!)
wait_for "openbox" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
if ((compositor)); then
    xcompmgr >/dev/null 2>&1 &
    helpers+=($!)
    wait_for "xcompmgr" xdotool search --name '^xcompmgr$'
fi
