#!/usr/bin/env bash
# One player on a desktop with a compositor, checked in turn: the window shows
# without a frame and with its icon, the overlay over all of it, unshaped; the clip named on
# the command line plays, its picture and the subtitle file beside it showing
# through the overlay's middle under its strips; the accessibility tree names
# the controls; the controls hide with the pointer still and come back when
# it moves; F11 enters full screen and leaves it; the playlist panel opens
# with its rows drawn; a file dragged from a GTK window onto the picture
# plays at once and closes the panel; Ctrl+Q quits.
# Usage: desktop_test.sh GLAZE_BINARY
# shellcheck source=e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
GLAZE=$1

e2e_make_clip "$e2e_tmp/red.mp4" color=c=red
# Centred, clear of the overlay's strips, for the whole minute.
printf '1\n00:00:00,000 --> 00:01:00,000\n{\\an5}SUBTITLES SHOWN HERE\n' >"$e2e_tmp/red.srt"
# The name dropped is not UTF-8 and holds characters URIs escape.
dropped=$e2e_tmp/$'dropped lat\xe9in #3 50%.mp4'
ln "$e2e_tmp/red.mp4" "$dropped"
e2e_start_desktop
e2e_start_glaze "$e2e_tmp/red.mp4"

[[ $(xprop -id "$main" _NET_FRAME_EXTENTS) == *"= 0, 0, 0, 0" ]] || e2e_fail "the window is framed"
xwininfo -shape -id "$overlay" | grep -q 'No window shape defined' || e2e_fail "the overlay is shaped"
e2e_wait_until "the window's own icon (an SVG, drawn down to 16 pixels)" eval 'xprop -id "$main" _NET_WM_ICON | grep -q "Icon (16 x 16)"'
e2e_pass "no frame, an icon; the overlay covers the window, unshaped under a compositor"
e2e_wait_until "the clip to play" e2e_plays red 1

# --- The picture and the subtitle through the overlay, its strips over them.
through_overlay() {
    e2e_nudge_to $((OX + OW / 2)) $((OY + OH / 2))
    e2e_shot picture || return 1
    local middle top text
    middle=$(e2e_dominant "$((OW / 2))x$((OH / 2))+$((OX + OW / 4))+$((OY + OH / 4))")
    top=$(e2e_dominant "$((OW / 2))x10+$((OX + OW / 4))+$((OY + 2))")
    text=$(e2e_colours "$((OW * 3 / 4))x$((OH / 4))+$((OX + OW / 8))+$((OY + OH * 3 / 8))")
    e2e_last_seen="middle $middle, top strip $top, $text colours where the subtitle shows"
    e2e_near "$middle" "255 0 0" 40 && ! e2e_near "$top" "$middle" 100 && ((text > 8))
}
e2e_wait_until "the picture and the subtitle under the strips" through_overlay
e2e_pass "through the overlay: $e2e_last_seen"

names_controls() {
    e2e_nudge_to $((OX + OW / 2)) $((OY + OH / 2))
    e2e_tree || return 1
    e2e_last_seen=$(awk -F'\t' '$1 == "push button" { printf "%s, ", $2 }' <<<"$tree")
    local name
    for name in Close Minimize "Full Screen" Pause "Show Playlist"; do
        grep -qF $'push button\t'"$name"$'\t' <<<"$tree" || return 1
    done
}
e2e_wait_until "the controls' names in the accessibility tree" names_controls
e2e_pass "the accessibility tree names Close, Minimize, Full Screen, Pause and Show Playlist"

# --- Auto-hide: with the pointer still the controls fade and the picture
# shows where the title strip was; a move brings them back.
strip_shows_picture() {
    e2e_shot still || return 1
    local top
    top=$(e2e_dominant "$((OW / 2))x10+$((OX + OW / 4))+$((OY + 2))")
    e2e_last_seen="the title strip's place: $top"
    e2e_near "$top" "255 0 0" 60
}
e2e_wait_until "the controls to hide" e2e_controls_hidden
e2e_wait_until "the picture where the title strip was" strip_shows_picture
e2e_show_controls $((OX + OW / 2 + 40)) $((OY + OH / 2))
e2e_pass "still, the controls hide; moved, they come back"

# --- Full screen and back; the overlay follows.
window="$MX $MY $MW $MH"
full_screen() {
    e2e_geometry "$overlay" O
    e2e_last_seen="$(xprop -id "$main" _NET_WM_STATE), overlay ${OW}x${OH}+${OX}+${OY}"
    [[ $e2e_last_seen == *FULLSCREEN*", overlay 1280x800+0+0" ]]
}
e2e_key F11
e2e_wait_until "full screen with the overlay over it" full_screen
e2e_key F11
e2e_wait_until "the window back" eval '! full_screen && e2e_overlay_covers && [[ "$MX $MY $MW $MH" == "$window" ]]'
e2e_pass "F11 enters full screen and leaves it"

# --- The playlist panel, then a drop on the picture.
e2e_open_panel
e2e_pass "the panel shows: $e2e_last_seen"
e2e_drop $((OX + OW / 3)) $((OY + OH / 2)) "$dropped"
e2e_wait_until "the dropped clip to play" e2e_plays "dropped latéin #3 50%" 2
e2e_wait_until "the panel to close" e2e_overlay_covers
e2e_pass "the dropped clip plays over the whole window"

e2e_quit
