#!/usr/bin/env bash
# An install into a prefix holds every file the desktop needs, and its programs run from there:
# quellin-cli --version, quellin --help without a display, both manual pages rendered by man
# without a warning.
# Usage: installed-tree.sh BUILD_DIR DESKTOP_ID VERSION
source "$(dirname "$0")/common.sh"
build="$1" id="$2" version="$3"
prefix="$(install_into_scratch "$build")"

expected=(
    bin/quellin bin/quellin-cli
    "share/applications/$id.desktop"
    "share/mime/packages/$id.xml"
    "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    share/man/man1/quellin.1 share/man/man1/quellin-cli.1
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "the install lacks $file"
done

# Each PNG is as large as the folder it stands in says (width and height from its header).
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    read -r -a header <<<"$(od -An -tu1 -j16 -N8 "$png")"
    width=$(((header[0] << 24) | (header[1] << 16) | (header[2] << 8) | header[3]))
    height=$(((header[4] << 24) | (header[5] << 16) | (header[6] << 8) | header[7]))
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x${height}"
done

out="$("$prefix/bin/quellin-cli" --version)" || fail "quellin-cli --version failed"
[ "$out" = "quellin-cli $version" ] || fail "quellin-cli --version printed: $out"
out="$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/quellin" --help)" || fail "quellin --help failed"
grep -q -- "--settings PATH" <<<"$out" || fail "quellin --help lacks --settings: $out"
out="$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/quellin" --version)" || fail "quellin --version failed"
[ "$out" = "quellin $version" ] || fail "quellin --version printed: $out"

if command -v man >/dev/null 2>&1; then
    for page in quellin quellin-cli; do
        file="$prefix/share/man/man1/$page.1"
        text="$(MANWIDTH=80 man --warnings -l "$file" 2>"$scratch/warnings")" || fail "man -l $page.1 failed"
        [ ! -s "$scratch/warnings" ] || fail "man warns about $page.1: $(cat "$scratch/warnings")"
        grep -q "EXIT STATUS" <<<"$text" || fail "$page.1 rendered without its EXIT STATUS"
    done
else
    echo "man is not installed: the pages were not rendered (scripts/deps.sh installs man-db)"
fi
echo "ok: $prefix"
