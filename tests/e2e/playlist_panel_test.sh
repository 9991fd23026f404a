#!/usr/bin/env bash
# The playlist panel as a hand works it: the overlay's show-playlist button
# opens the panel at the right edge and the overlay narrows by its width; text
# typed in the filter field narrows the rows; a double-click plays a row;
# Delete and the remove button take out the selected row and leave the others;
# the button closes the panel and the overlay covers the whole width again.
# What plays, the rows and where things are come from the accessibility tree.
# Usage: playlist_panel_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
# shellcheck source=panel_lib.sh
source "$here/panel_lib.sh"
GLAZE=${1:-}

panel_prepare
files=()
for name in "Alpha 1" "Beta 2" "Gamma 3" "Delta 4"; do
    files+=("$e2e_tmp/$name.mp4")
done
panel_make_clip "${files[0]}" testsrc
for file in "${files[@]:1}"; do ln "${files[0]}" "$file"; done
all="Alpha 1|Beta 2|Gamma 3|Delta 4"

e2e_start_x
e2e_start_wm
e2e_start_compositor
e2e_start_glaze "${files[@]}"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"
e2e_wait_until "the first clip to play, all four listed" panel_shows "Alpha 1" "$all"
e2e_pass "'Alpha 1' plays, rows $all"

# --- Open: the overlay leaves a strip at the right, where the panel shows.
panel_open
# The filter field and every row span the strip, less the panel's margins.
panel_fills_strip() {
    panel_read || return 1
    e2e_last_seen=$(tr '\t\n' ' |' <<<"$panel_state")
    awk -F'\t' -v l="$panel_left" -v r=$((MX + MW)) '
        $1 == "row" || ($1 == "control" && $2 == "Filter Playlist") {
            split($NF, box, " "); n++
            if (box[1] < l || box[1] > l + 12 || box[1] + box[3] > r || box[1] + box[3] < r - 12)
                off = 1 }
        END { exit off || n != 5 }' <<<"$panel_state"
}
e2e_wait_until "the filter field and the rows across the strip right of the overlay" panel_fills_strip
e2e_wait_until "the panel's grey strip with rows drawn in it" panel_drawn
e2e_pass "the panel shows in the ${panel_width}-pixel strip the overlay left: $e2e_last_seen"

# --- Filter: the rows whose names hold the text, then all again.
panel_type_filter ta
e2e_wait_until "the filter 'ta' to leave two rows" panel_shows "Alpha 1" "Beta 2|Delta 4"
e2e_pass "filter 'ta': rows Beta 2|Delta 4"
xdotool key ctrl+a BackSpace
e2e_wait_until "the emptied filter to show all rows" panel_shows "Alpha 1" "$all"
e2e_pass "filter emptied: rows $all"

# --- Double-click: that row plays.
panel_click row "Gamma 3" --repeat 2 --delay 40
e2e_wait_until "the double-clicked row to play" panel_shows "Gamma 3" "$all"
e2e_pass "double-clicked 'Gamma 3' plays"

# --- Remove the selected row, by key and by button; the others stay.
selected_is() { # ROW
    panel_read || return 1
    e2e_last_seen="row $(panel_value selected) selected"
    [[ $(panel_value selected) == "$1" ]]
}
panel_click row "Beta 2"
e2e_wait_until "'Beta 2' to be selected" selected_is 1
xdotool key Delete
e2e_wait_until "Delete to remove 'Beta 2'" panel_shows "Gamma 3" "Alpha 1|Gamma 3|Delta 4"
e2e_pass "Delete removed 'Beta 2'; 'Gamma 3' plays on"
panel_click row "Alpha 1"
e2e_wait_until "'Alpha 1' to be selected" selected_is 0
panel_click control "Remove from Playlist"
e2e_wait_until "the remove button to remove 'Alpha 1'" panel_shows "Gamma 3" "Gamma 3|Delta 4"
e2e_pass "the remove button removed 'Alpha 1'; 'Gamma 3' plays on"

# --- Close: the overlay covers the whole width again.
panel_toggle
e2e_check_overlay_over_video_area "$e2e_overlay"

e2e_quit_with_ctrl_q 2
