#!/usr/bin/env bash
# Drops from another toolkit: GTK 3 windows offer files as text/uri-list and
# xdotool drags from them as a hand on the mouse would. Files dropped on the
# open playlist table join it while the clip that plays plays on; a file
# dropped on the video area plays at once and the panel closes. The dropped
# names carry a newline, '%', '#' and a byte that is not UTF-8. What plays
# and how many rows the table has are read through the accessibility tree.
# With --no-compositor the overlay is cut down to its strips, so the drop on
# the picture lands on the main window instead: it must do the same.
# Usage: drops_test.sh GLAZE_BINARY [--no-compositor]
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
# shellcheck source=panel_lib.sh
source "$here/panel_lib.sh"
GLAZE=${1:-}
compositor=1
[[ ${2:-} == --no-compositor ]] && compositor=0

e2e_require_tools ffmpeg dbus-daemon /usr/bin/python3
/usr/bin/python3 -c 'import gi, pyatspi; gi.require_version("Gtk", "3.0")
from gi.repository import Gtk' 2>/dev/null ||
    e2e_fail "missing python3-pyatspi, python3-gi or gir1.2-gtk-3.0 (see scripts/packages.txt)"
e2e_clean_environment

first=$e2e_tmp/first.mp4
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "testsrc=size=320x180:rate=25" -t 60 \
    -pix_fmt yuv420p -c:v libx264 -preset ultrafast "$first" || e2e_fail "ffmpeg could not make the clip"
# The same clip under the names that are dropped.
table_files=("$e2e_tmp"/$'table\none.mp4' "$e2e_tmp/table #2 100%.mp4")
video_file=$e2e_tmp/$'video lat\xe9in #3 50%.mp4'
for name in "${table_files[@]}" "$video_file"; do ln "$first" "$name"; done

e2e_start_x
e2e_start_wm
((compositor)) && e2e_start_compositor
# Qt only serves the accessibility tree when asked; no screen reader runs here.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

e2e_start_glaze "$first"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"

overlay_width_is() {
    e2e_geometry "$e2e_overlay"
    e2e_last_seen="overlay ${WIDTH} wide, main window $MW"
    ((WIDTH == $1))
}

e2e_wait_until "the clip from the command line to play" panel_plays first 1
e2e_pass "plays 'first' from the command line"

# A GTK window offering FILES, in the free corner of the screen; its output
# goes to a log of its own.
start_source() { # TITLE FILE...
    local log=$e2e_tmp/source-$1.log
    /usr/bin/python3 "$here/drag_source.py" "$@" >"$log" 2>"$e2e_tmp/source-$1-stderr.log" &
    e2e_helper_pids+=($!)
    e2e_wait_until "the drag source '$1' to show" grep -qx ready "$log"
    source_window=$(xdotool search --name "^$1\$" | awk 'NR == 1')
    xdotool windowmove "$source_window" 1080 620
    e2e_wait_until "the drag source '$1' in the free corner" source_in_corner
}
source_in_corner() {
    e2e_geometry "$source_window"
    ((X >= 1080 && Y >= 620))
}

# Moves the pointer by a pixel at a time around X,Y until the log shows LINE:
# GTK tells the target where the pointer is only when it moves.
nudge=0
nudge_until() { # LOG LINE X Y
    nudge=$((1 - nudge))
    xdotool mousemove $(($3 + nudge)) "$4"
    grep -qx "$2" "$1"
}

# Presses on the source, starts the drag, jumps to X,Y, waits until the
# target there takes the drag, and releases.
drag_to() { # TITLE X Y
    local log=$e2e_tmp/source-$1.log
    e2e_geometry "$source_window"
    local sx=$((X + WIDTH / 2)) sy=$((Y + HEIGHT / 2))
    xdotool mousemove "$sx" "$sy" mousedown 1
    e2e_wait_until "the drag from '$1' to begin" nudge_until "$log" begin $((sx + 20)) "$sy"
    e2e_wait_until "the target to take the drag from '$1'" nudge_until "$log" "action copy" "$2" "$3"
    xdotool mouseup 1
    e2e_wait_until "the drag from '$1' to end" grep -q '^end ' "$log"
    e2e_last_seen=$(tr '\n' '|' <"$log")
    grep -qx 'end copy' "$log" && ! grep -q '^failed' "$log" ||
        e2e_fail "the drop from '$1' was not taken as a copy ($e2e_last_seen)"
}

# --- Onto the open playlist table: the rows grow, 'first' plays on.
e2e_show_controls $((OX + OW - 22)) $((OY + 22))
xdotool click 1
e2e_wait_until "the playlist panel to open" overlay_width_is $((MW - 300))
start_source "Table files" "${table_files[@]}"
drag_to "Table files" $((MX + MW - 150)) $((OY + OH / 2))
e2e_wait_until "two rows more, 'first' still playing" panel_plays first 3
e2e_pass "dropped on the table: 3 rows, 'first' plays on"

# --- Onto the video area: the dropped clip plays and the panel closes.
start_source "Video file" "$video_file"
drag_to "Video file" $((OX + (OW - 300) / 3)) $((OY + OH / 2))
e2e_wait_until "the dropped clip to play" panel_plays "video latéin #3 50%" 4
e2e_wait_until "the playlist panel to close" overlay_width_is "$MW"
e2e_pass "dropped on the video area: 'video latéin #3 50%' plays over the whole window"

e2e_quit_with_ctrl_q 2
