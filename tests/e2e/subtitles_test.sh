#!/usr/bin/env bash
# Subtitles through the Playback menu: glaze shows the subtitle file that lies
# beside the clip under the same name, hides it when "Off" is chosen in the
# Subtitles submenu, and shows it again when its track is chosen there.
# Usage: subtitles_test.sh GLAZE_BINARY
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
GLAZE=${1:-}

e2e_require_tools ffmpeg
e2e_clean_environment
clip=$e2e_tmp/dark.mp4
ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "color=c=black:size=640x360:rate=25" \
    -t 60 -pix_fmt yuv420p -c:v libx264 -preset ultrafast "$clip" ||
    e2e_fail "ffmpeg could not make the clip"
# A cue a second, as the engine shows a track chosen again from its next cue
# on; centred, so that neither strip of the overlay covers them.
for ((second = 0; second < 60; ++second)); do
    printf '%d\n00:00:%02d,000 --> 00:%02d:%02d,000\n{\\an5}SUBTITLES SHOWN HERE\n\n' \
        $((second + 1)) "$second" $(((second + 1) / 60)) $(((second + 1) % 60))
done >"$e2e_tmp/dark.srt"
e2e_start_x
e2e_start_wm
e2e_start_compositor

e2e_start_glaze "$clip"
e2e_wait_for_overlay
e2e_check_overlay_over_video_area "$e2e_overlay"

# The middle of the video area, where the text shows, as WxH+X+Y.
text_region() { printf '%sx%s+%s+%s' $((OW * 3 / 4)) $((OH / 4)) $((OX + OW / 8)) $((OY + OH * 3 / 8)); }
# The black picture alone has a colour or two; text brings many more.
text_colours() {
    local shot deviation
    shot=$(e2e_screenshot "${1:-text}") || return 1
    read -r colours deviation <<<"$(e2e_region_stats "$shot" "$(text_region)")"
    e2e_last_seen="$colours colours, standard deviation $deviation"
}
text_shows() { text_colours shown && ((colours > 8)); }
# Gone, and still gone a cue and a half later.
text_gone() {
    text_colours gone && ((colours <= 3)) || return 1
    sleep 1.5
    text_colours gone && ((colours <= 3))
}

# The picture's menu, Playback > Subtitles through the keyboard, then the
# item so many rows down.
choose_subtitle_item() { # ROWS_DOWN
    xdotool windowactivate --sync "$e2e_main_window" >/dev/null 2>&1 || true
    e2e_wait_until "the Glaze window to take the focus" e2e_glaze_has_focus
    e2e_open_menu_by xdotool mousemove $((OX + OW / 2)) $((OY + OH / 2)) click 3
    # In one go: the menu that opens takes the keys that follow.
    local keys=(p s) row
    for ((row = 0; row < $1; ++row)); do keys+=(Down); done
    xdotool key --clearmodifiers "${keys[@]}" Return
}

e2e_wait_until "the subtitle file beside the clip to show" text_shows
e2e_pass "the subtitle beside the clip shows: $e2e_last_seen"
choose_subtitle_item 0
e2e_wait_until "the subtitle to go after Off" text_gone
e2e_pass "Subtitles > Off hides it: $e2e_last_seen"
choose_subtitle_item 1
e2e_wait_until "the subtitle to come back" text_shows
e2e_pass "Subtitles > its track shows it again: $e2e_last_seen"

e2e_quit_with_ctrl_q 2
