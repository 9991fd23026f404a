#!/usr/bin/env bash
# What `cmake --install` puts in a prefix, checked as a desktop reads it: a
# valid entry and metainfo under one application id, the icons, and a MimeType
# list that follows the classification.
# Usage: installed_desktop_files_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
[[ -x $prefix/bin/glaze ]] || fail "bin/glaze not installed"
entries=("$prefix"/share/applications/*.desktop)
[[ ${#entries[@]} == 1 && -f ${entries[0]} ]] || fail "not one desktop entry: ${entries[*]}"
entry=${entries[0]}
id=$(basename "$entry" .desktop)

# desktop-file-validate exits 0 on warnings: anything it says fails.
report=$(desktop-file-validate "$entry" 2>&1) && [[ -z $report ]] || fail "$entry: $report"
# Validates the metainfo, and that its launchable is the installed entry.
[[ -f $prefix/share/metainfo/$id.metainfo.xml ]] || fail "no metainfo for $id"
report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "$report"
echo "PASS: $id.desktop and $id.metainfo.xml validate"

grep -qx "Icon=$id" "$entry" || fail "the entry does not name the icon $id"
icons=$prefix/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/$id.svg" || fail "no scalable icon"
for size in 48 128; do
    png=$icons/${size}x$size/apps/$id.png
    [[ -f $png ]] || fail "no $size px icon"
    got=$(identify -format '%m %wx%h' "$png")
    [[ $got == "PNG ${size}x$size" ]] || fail "$png is '$got'"
done
echo "PASS: scalable, 48 and 128 px icons"

listed=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | sed '/^$/d')
[[ $listed == "$(LC_ALL=C sort -u <<<"$listed")" ]] || fail "MimeType is not sorted and unique"
# The classification knows files by extension only: at most, it takes the
# types that share an extension with an audio or video type.
possible=$(awk -F: '$3 ~ /^\*\.[^*?[]+$/ {
        types[$3] = types[$3] " " $2
        if ($2 ~ /^(audio|video)\//) media[$3] = 1
    }
    END { for (g in media) print types[g] }' /usr/share/mime/globs2 | tr ' ' '\n' | sed '/^$/d' |
    LC_ALL=C sort -u)
stray=$(LC_ALL=C comm -23 <(echo "$listed") <(echo "$possible"))
[[ -z $stray ]] || fail "listed, but no audio or video extension: $stray"

# extension | its type | listed | why
while IFS='|' read -r extension type expected why; do
    if grep -qx "$type" <<<"$listed"; then got=yes; else got=no; fi
    [[ $got == "$expected" ]] || fail "$why: $type (.$extension) listed=$got"
    echo "PASS: $why"
done <<'ROWS'
mkv|video/x-matroska|yes|a Matroska video is offered to Glaze
ogv|video/ogg|yes|an Ogg video is offered to Glaze
wmv|video/x-ms-wmv|yes|a Windows Media video is offered to Glaze
flac|audio/flac|yes|a FLAC file is offered to Glaze
m4a|audio/mp4|yes|an MPEG-4 audio file is offered to Glaze
oga|audio/ogg|yes|an Ogg audio file is offered to Glaze
swf|application/vnd.adobe.flash.movie|no|a Flash movie, always refused, is not offered
o|application/x-object|no|object code is not offered for the module extension it shares
ROWS
echo "PASS: $(wc -l <<<"$listed") MIME types listed"
