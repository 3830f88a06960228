#!/usr/bin/env bash
# The desktop entry, the AppStream description and the file type pass their validators; the file
# type, installed into a MIME database of its own, maps *.syx and files starting with F0 to the
# type the desktop entry declares; the screenshots the description shows are the project's own.
# Usage: desktop-files.sh BUILD_DIR DESKTOP_ID SOURCE_DIR
source "$(dirname "$0")/common.sh"
build="$1" id="$2" source_dir="$3"
need desktop-file-validate appstreamcli update-mime-database xmllint
prefix="$(install_into_scratch "$build")"
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
mime="$prefix/share/mime/packages/$id.xml"

desktop-file-validate "$desktop" || fail "desktop-file-validate refused $id.desktop"
grep -qx "Exec=quellin %F" "$desktop" || fail "the desktop entry does not start quellin %F"
grep -qx "Categories=AudioVideo;Audio;Midi;" "$desktop" || fail "the desktop entry's categories"

appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused $id.metainfo.xml"
shots=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|.*/\([^/<]*\)</image>|\1|')
[ -n "$shots" ] || fail "the metainfo shows no screenshots"
for shot in $shots; do
    [ -f "$source_dir/docs/screenshots/$shot" ] || fail "the metainfo shows $shot, which docs/screenshots lacks"
done
grep -q '<release version=' "$metainfo" || fail "the metainfo has no release"

xmllint --noout "$mime" || fail "the MIME type's XML does not parse"
type=$(xmllint --xpath 'string(//*[local-name()="mime-type"]/@type)' "$mime")
grep -qx "MimeType=$type;" "$desktop" || fail "the desktop entry does not declare $type"

mkdir -p "$scratch/data/mime/packages"
cp "$mime" "$scratch/data/mime/packages/"
update-mime-database "$scratch/data/mime" >"$scratch/update.log" 2>&1 ||
    fail "update-mime-database failed: $(cat "$scratch/update.log")"
grep -q "^[0-9]*:$type:\*\.syx" "$scratch/data/mime/globs2" || fail "*.syx is not mapped to $type"
grep -aq "$type" "$scratch/data/mime/magic" || fail "no magic for $type"
# The rule under the type's header: ">0=", a length of one byte, F0.
od -An -tx1 -v "$scratch/data/mime/magic" | tr -d '\n' | grep -q '3e 30 3d 00 01 f0' ||
    fail "the magic of $type is not the byte F0 at offset 0"
echo "ok"
