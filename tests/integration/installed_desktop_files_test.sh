#!/usr/bin/env bash
# What `cmake --install` puts in a prefix, checked as a desktop reads it: one
# valid entry and metainfo under one application id, its icons, and a MimeType
# list that offers media and not the Flash movies Glaze refuses.
# Usage: installed_desktop_files_test.sh CMAKE BUILD_DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$1" --install "$2" --prefix "$prefix" >/dev/null
[[ -x $prefix/bin/glaze ]] || fail "bin/glaze not installed"
entry=$(echo "$prefix"/share/applications/*.desktop)
id=$(basename "$entry" .desktop)
# desktop-file-validate exits 0 on warnings: anything it says fails. The
# metainfo's launchable must be the installed entry.
report=$(desktop-file-validate "$entry" 2>&1) && [[ -z $report ]] || fail "$entry: $report"
[[ -f $prefix/share/metainfo/$id.metainfo.xml ]] || fail "no metainfo for $id"
report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "$report"
grep -qx "Icon=$id" "$entry" || fail "the entry does not name the icon $id"
icons=$prefix/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/$id.svg" || fail "no scalable icon"
[[ $(identify -format '%m %wx%h ' "$icons"/{48x48,128x128}/apps/"$id".png) == "PNG 48x48 PNG 128x128 " ]] ||
    fail "no 48 and 128 px PNG icons"
grep -q '^MimeType=.*video/x-matroska;' "$entry" || fail "Matroska is not offered"
! grep -q '^MimeType=.*application/vnd.adobe.flash.movie' "$entry" || fail "Flash is offered"
echo "PASS: $id validates, with its icons"
