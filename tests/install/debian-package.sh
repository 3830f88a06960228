#!/usr/bin/env bash
# cpack -G DEB makes a package that holds every installed file and depends on the libraries the
# binaries link: Qt 6, RtMidi, JACK and ALSA.
# Usage: debian-package.sh BUILD_DIR DESKTOP_ID VERSION
source "$(dirname "$0")/common.sh"
build="$1" id="$2" version="$3"
need cpack dpkg-deb dpkg-shlibdeps

cpack -G DEB -B "$scratch/package" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
deb=$(ls "$scratch"/package/quellin_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no quellin_${version}_*.deb: $(ls "$scratch/package")"

dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./|/|' >"$scratch/contents"
expected=(
    /usr/bin/quellin /usr/bin/quellin-cli
    "/usr/share/applications/$id.desktop"
    "/usr/share/mime/packages/$id.xml"
    "/usr/share/metainfo/$id.metainfo.xml"
    "/usr/share/icons/hicolor/scalable/apps/$id.svg"
    /usr/share/man/man1/quellin.1 /usr/share/man/man1/quellin-cli.1
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    grep -qx -- "$file" "$scratch/contents" || fail "the package lacks $file"
done

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6core6 libqt6gui6 libqt6widgets6 librtmidi libjack libasound2; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "ok: $(basename "$deb"), Depends: $depends"
