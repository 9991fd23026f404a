# Helpers for scripts that work the playlist panel, sourced after e2e_lib.sh:
# what plays, the table's rows and where the controls are, all read through
# the accessibility tree (read_now_playing.py --layout).

panel_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

panel_prepare() {
    e2e_require_tools ffmpeg /usr/bin/python3
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
        e2e_fail "missing python3-pyatspi (see scripts/packages.txt)"
    e2e_clean_environment
    # Qt only serves the accessibility tree when asked; no screen reader runs here.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# A minute of an ffmpeg test source (testsrc, smptebars, ...) as H.264.
panel_make_clip() { # FILE SOURCE
    ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "$2=size=320x180:rate=25" -t 60 \
        -pix_fmt yuv420p -c:v libx264 -preset ultrafast "$1" || e2e_fail "ffmpeg could not make $1"
}

# Reads the tree into panel_state; false while the app does not show it yet.
panel_read() {
    panel_state=$(/usr/bin/python3 "$panel_here/read_now_playing.py" "$e2e_glaze_pid" --layout)
}

# The value of a one-value line: name, rows, selected.
panel_value() { awk -F'\t' -v key="$1" '$1 == key { print $2 }' <<<"$panel_state"; }

# The rows' media names, "|"-separated: a row reads "name, details, folder".
panel_row_names() {
    awk -F'\t' '$1 == "row" { sub(/, .*/, "", $3); printf "%s%s", sep, $3; sep = "|" }' \
        <<<"$panel_state"
}

# True when NAME plays and the table lists ROWS ("Alpha 1|Beta 2", in order).
panel_shows() { # NAME ROWS
    panel_read || return 1
    local name rows
    name=$(panel_value name)
    rows=$(panel_row_names)
    e2e_last_seen="'$name' playing, rows '$rows'"
    [[ $name == "$1" && $rows == "$2" ]]
}

# True when NAME plays and the table has ROWS rows: the rows are counted,
# not read, which keeps it cheap for a long table.
panel_plays() { # NAME ROWS
    local state name rows
    state=$(/usr/bin/python3 "$panel_here/read_now_playing.py" "$e2e_glaze_pid") || return 1
    name=$(awk -F'\t' '$1 == "name" { print $2 }' <<<"$state")
    rows=$(awk -F'\t' '$1 == "rows" { print $2 }' <<<"$state")
    e2e_last_seen="'$name' playing, $rows rows"
    [[ $name == "$1" && $rows == "$2" ]]
}

# Sets CX CY to the middle of a control (by name) or a row (by media name).
panel_centre_of() { # control|row LABEL
    local box
    box=$(awk -F'\t' -v kind="$1" -v label="$2" '
        kind == "control" && $1 == kind && $2 == label { print $3; exit }
        kind == "row" && $1 == kind && index($3, label ", ") == 1 { print $4; exit }' \
        <<<"$panel_state")
    [[ -n $box ]] || e2e_fail "no $1 '$2' in the accessibility tree: $(tr '\t\n' ' |' <<<"$panel_state")"
    local x y w h
    read -r x y w h <<<"$box"
    CX=$((x + w / 2)) CY=$((y + h / 2))
}

# Clicks a control or a row where the tree last placed it.
panel_click() { # control|row LABEL [xdotool click options]
    panel_centre_of "$1" "$2"
    xdotool mousemove "$CX" "$CY" click "${@:3}" 1
}

# The button hides with the overlay's controls once the pointer leaves them.
panel_toggle() {
    e2e_show_controls $((OX + 100)) $((OY + OH / 2))
    e2e_wait_until "the app's accessibility tree" panel_read
    panel_click control "Show Playlist"
}

# Opens the panel and waits for the overlay to leave it a strip at the right,
# from panel_left, panel_width wide. Needs the overlay's OX OY OH and MW.
panel_open() {
    panel_toggle
    e2e_wait_until "the panel to open and the overlay to narrow" panel_overlay_narrowed
    panel_left=$((OX + WIDTH)) panel_width=$((MW - WIDTH))
}
panel_overlay_narrowed() {
    e2e_geometry "$e2e_overlay"
    e2e_last_seen="overlay ${WIDTH}x${HEIGHT}+${X}+${Y}, main window ${MW} wide"
    ((X == OX && Y == OY && HEIGHT == OH && WIDTH < MW))
}

# True when a screenshot, kept as panel_shot, shows the strip mostly in the
# panel's grey, the rows the tree lists drawn (thumbnails and text, not one
# flat colour) and a row's height of empty table below them.
panel_drawn() {
    local grey rows_box below colours deviation empty
    panel_read || return 1
    panel_shot=$(e2e_screenshot panel) || return 1
    grey=$(e2e_region_dominant_rgb "$panel_shot" "${panel_width}x${OH}+${panel_left}+${OY}")
    read -r rows_box below < <(awk -F'\t' -v l="$panel_left" -v w="$panel_width" '
        $1 == "row" { split($4, b, " "); if (top == "") top = b[2]; bottom = b[2] + b[4]; h = b[4] }
        END { printf "%dx%d+%d+%d %dx%d+%d+%d\n", w, bottom - top, l, top, w - 20, h, l, bottom }' \
        <<<"$panel_state")
    read -r colours deviation <<<"$(e2e_region_stats "$panel_shot" "$rows_box")"
    empty=$(e2e_region_stats "$panel_shot" "$below" | cut -d' ' -f1)
    e2e_last_seen="the strip mostly ($grey), its rows $colours colours, standard deviation $deviation, $empty colours below them"
    (($(e2e_colour_distance "$grey" "41 41 41") <= 6 && colours > 50 && empty == 1)) &&
        awk -v d="$deviation" 'BEGIN { exit !(d > 0.1) }'
}

# Types TEXT into the filter field, clicked where the tree last placed it.
panel_type_filter() { # TEXT
    panel_click control "Filter Playlist"
    e2e_wait_until "the main window to take the focus" panel_main_window_focused
    xdotool type --delay 30 "$1"
}
panel_main_window_focused() { [[ $(xdotool getwindowfocus) == "$e2e_main_window" ]]; }

# The frame of the main window (with the window manager's decoration) as WxH+X+Y.
panel_window_region() {
    e2e_geometry "$(e2e_parent_of "$e2e_main_window")"
    printf '%sx%s+%s+%s' "$WIDTH" "$HEIGHT" "$X" "$Y"
}
