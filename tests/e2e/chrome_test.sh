#!/usr/bin/env bash
# The window's own chrome, on a desktop with a compositor: the main window has
# no frame; the overlay's controls hide when the pointer rests for 3 s and at
# once when it leaves, and come back when it moves; dragging the background
# moves the window (off the screen and back) with the overlay; a double-click
# toggles full screen and a triple-click too, once; the title bar's menu
# button reaches the menus; shortcuts work with the controls hidden; the
# window is resized from an edge and a corner; minimize iconifies it, also
# with the controls hidden; the close button ends glaze with status 0.
# With --no-window-manager nobody can resize the window: a drag on its edge
# changes nothing and glaze goes on working.
# Usage: chrome_test.sh GLAZE_BINARY [--no-window-manager]
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}
window_manager=1
[[ ${2:-} == --no-window-manager ]] && window_manager=0

e2e_require_tools ffmpeg
e2e_clean_environment
clip=$e2e_tmp/red.avi
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "color=c=red:s=320x240:r=25:d=60" \
    -c:v mpeg4 -q:v 5 "$clip" || e2e_fail "ffmpeg could not make the clip"
e2e_start_x
((window_manager)) && e2e_start_wm
e2e_start_compositor
e2e_start_glaze "$clip"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"
middle_x=$((OX + OW / 2)) middle_y=$((OY + OH / 2))

controls_hidden() { ! e2e_controls_shown; }
same_geometry() { # X Y WIDTH HEIGHT: the main window's, with the overlay on it
    e2e_geometry "$e2e_main_window"
    local mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
    e2e_geometry "$e2e_overlay"
    e2e_last_seen="main window ${mw}x${mh}+${mx}+${my}, overlay ${WIDTH}x${HEIGHT}+${X}+${Y}"
    ((mx == $1 && my == $2 && mw == $3 && mh == $4)) &&
        ((X == mx && Y == my && WIDTH == mw && HEIGHT == mh))
}
# A key typed into the main window, as it has the focus.
press_key() {
    timeout "$E2E_WAIT_SECONDS" xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
    e2e_wait_until "the Glaze window to take the focus" e2e_glaze_has_focus
    xdotool key "$1"
}
# Presses at X,Y, moves by DX,DY in four steps and lets go.
drag() { # X Y DX DY
    xdotool mousemove "$1" "$2" mousedown 1
    local step
    for step in 1 2 3 4; do
        xdotool mousemove $(($1 + $3 * step / 4)) $(($2 + $4 * step / 4))
        sleep 0.05
    done
    xdotool mouseup 1
}

if ((!window_manager)); then
    drag $((OX + OW - 2)) "$middle_y" 80 0
    sleep 1
    same_geometry "$MX" "$MY" "$MW" "$MH" || e2e_fail "resized without a window manager: $e2e_last_seen"
    e2e_pass "an edge drag without a window manager leaves the window as it was"
    e2e_show_controls "$middle_x" "$middle_y"
    e2e_pass "the controls still come and go"
else
    frame=$(xprop -id "$e2e_main_window" _NET_FRAME_EXTENTS)
    [[ $frame == *"= 0, 0, 0, 0" ]] || e2e_fail "the window manager framed the window: $frame"
    icon=$(xprop -id "$e2e_main_window" _NET_WM_ICON)
    [[ $icon == *"Icon ("* ]] || e2e_fail "no icon on the window: ${icon:0:80}"
    e2e_pass "no frame, an icon"

    # --- Auto-hide: still for 3 s, the controls go; a move brings them back.
    e2e_show_controls "$middle_x" "$middle_y"
    still_since=$(e2e_now)
    e2e_wait_until "the controls to hide with the pointer still" controls_hidden
    still=$(e2e_elapsed "$still_since" "$(e2e_now)")
    awk -v s="$still" 'BEGIN { exit !(s >= 2.9) }' || e2e_fail "the controls hid after ${still}s"
    # Once faded out, the red picture shows where the title strip was.
    strip_shows_picture() {
        local shot
        shot=$(e2e_screenshot still) || return 1
        top=$(e2e_region_dominant_rgb "$shot" "$((OW - 120))x30+$((OX + 70))+$((OY + 8))")
        e2e_last_seen="the title strip's place: $top"
        (($(e2e_colour_distance "$top" "255 0 0") < 60))
    }
    e2e_wait_until "the picture where the title strip was" strip_shows_picture
    e2e_pass "still for ${still}s, the controls are gone and the picture shows ($top)"
    e2e_show_controls "$middle_x" "$middle_y"
    e2e_pass "a move brings them back"
    xdotool mousemove $((MX + MW + 60)) "$middle_y"
    left_at=$(e2e_now)
    e2e_wait_until "the controls to hide as the pointer left" controls_hidden
    took=$(e2e_elapsed "$left_at" "$(e2e_now)")
    awk -v s="$took" 'BEGIN { exit !(s < 2.5) }' || e2e_fail "hidden ${took}s after the pointer left"
    e2e_pass "the pointer leaving hides them at once (${took}s)"

    # --- The title bar's menu button: View > Enter Full Screen, by keys.
    e2e_show_controls $((OX + OW - 54)) $((OY + 22))
    e2e_open_menu_by xdotool click 1
    xdotool key Up Right Return
    is_full_screen() { [[ $(xprop -id "$e2e_main_window" _NET_WM_STATE) == *FULLSCREEN* ]]; }
    e2e_wait_until "full screen from the menu" is_full_screen
    e2e_pass "the menu button reaches View > Enter Full Screen"
    press_key F11
    e2e_wait_until "the window back from full screen" same_geometry "$MX" "$MY" "$MW" "$MH"

    # --- Dragging the background, off the screen and back.
    for travel in "60 40" "-400 0" "400 0" "0 300"; do
        read -r dx dy <<<"$travel"
        e2e_show_controls "$middle_x" "$middle_y"
        drag "$middle_x" "$middle_y" "$dx" "$dy"
        e2e_wait_until "the window dragged by $dx,$dy" same_geometry $((MX + dx)) $((MY + dy)) "$MW" "$MH"
        drag $((middle_x + dx)) $((middle_y + dy)) $((-dx)) $((-dy))
        e2e_wait_until "the window dragged back" same_geometry "$MX" "$MY" "$MW" "$MH"
    done
    e2e_pass "dragged by the pointer's travel, off the screen at the left, right and bottom and back"
    # The top edge stays on the screen, though the pointer goes further.
    drag "$middle_x" "$middle_y" 0 $((-middle_y + 2))
    e2e_wait_until "the window's top at the screen's" same_geometry "$MX" 0 "$MW" "$MH"
    drag "$middle_x" $((MH / 2)) 0 "$MY"
    e2e_wait_until "the window dragged back down" same_geometry "$MX" "$MY" "$MW" "$MH"
    e2e_pass "the top edge stays on the screen"

    # --- Double- and triple-clicks: one toggle each.
    not_full_screen() { ! is_full_screen; }
    full=0
    for clicks in 2 2 3 2; do
        full=$((1 - full))
        xdotool mousemove "$middle_x" "$middle_y" click --repeat "$clicks" --delay 60 1
        if ((full)); then
            e2e_wait_until "full screen after $clicks clicks" is_full_screen
        else
            e2e_wait_until "full screen to end after $clicks clicks" not_full_screen
        fi
        # Apart, so the next clicks start a row of their own.
        sleep 0.6
    done
    e2e_wait_until "the window back from full screen" same_geometry "$MX" "$MY" "$MW" "$MH"
    e2e_pass "a double-click toggles full screen, a triple-click once"

    # --- Shortcuts with the controls hidden.
    xdotool mousemove "$middle_x" "$middle_y"
    e2e_wait_until "the controls to hide" controls_hidden
    press_key F11
    e2e_wait_until "full screen from F11" is_full_screen
    press_key F11
    e2e_wait_until "the window back from full screen" same_geometry "$MX" "$MY" "$MW" "$MH"
    e2e_pass "F11 works with the controls hidden"

    # --- Resizing from the right edge and the bottom-left corner.
    drag $((MX + MW - 2)) "$middle_y" 80 0
    e2e_wait_until "the right edge dragged 80 right" same_geometry "$MX" "$MY" $((MW + 80)) "$MH"
    drag $((MX + 1)) $((MY + MH - 2)) -30 40
    e2e_wait_until "the bottom-left corner dragged" same_geometry $((MX - 30)) "$MY" $((MW + 110)) $((MH + 40))
    e2e_check_overlay_over_video_area "$e2e_overlay"
    e2e_pass "resized from an edge and a corner"

    # --- Minimize: the button, then the window manager with the controls hidden.
    is_iconic() { [[ $(xprop -id "$e2e_main_window" WM_STATE) == *Iconic* ]]; }
    restore() {
        timeout "$E2E_WAIT_SECONDS" xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
        e2e_wait_until "the overlay back with the window" e2e_is_viewable "$e2e_overlay"
    }
    e2e_show_controls "$middle_x" "$middle_y"
    xdotool mousemove $((OX + 32)) $((OY + 22)) click 1
    e2e_wait_until "the minimize button to iconify the window" is_iconic
    e2e_is_viewable "$e2e_overlay" && e2e_fail "the overlay stayed on screen"
    restore
    e2e_wait_until "the controls to hide" controls_hidden
    xdotool windowminimize "$e2e_main_window"
    e2e_wait_until "the window iconified" is_iconic
    restore
    e2e_show_controls "$middle_x" "$middle_y"
    e2e_pass "minimized by its button and, its controls hidden, by the window manager; back each time"
fi

# --- The close button ends glaze.
e2e_show_controls "$middle_x" "$middle_y"
xdotool mousemove $((OX + 12)) $((OY + 22)) click 1
status=0
gone() { ! kill -0 "$e2e_glaze_pid" 2>/dev/null || [[ $(awk '{ print $3 }' "/proc/$e2e_glaze_pid/stat" 2>/dev/null) == Z ]]; }
e2e_wait_until "glaze to end after the close button" gone
wait "$e2e_glaze_pid" || status=$?
e2e_glaze_pid=
((status == 0)) || e2e_fail "glaze ended with status $status after the close button"
e2e_pass "the close button ended glaze with status 0"
