#!/usr/bin/env bash
# Builds the Debian package from a build tree, checks its control data and
# file list, unpacks it into a scratch root and starts the player from there
# (under xvfb-run, in a throwaway home): it must show its window.
#   package-check.sh <build dir>
set -euo pipefail

build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "package-check: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/waveorbit_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no .deb produced"

info=$(dpkg-deb -I "$deb")
echo "$info"
grep -q '^ Package: waveorbit$' <<<"$info" || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6network6 libqt6dbus6 libqt6gui6 libqt6core6 libmpv2 \
         fonts-nanum qt6-qpa-plugins libqt6webenginewidgets6; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
  # Every dependency names a package Debian has.
  apt-cache show "$p" >/dev/null 2>&1 || fail "$p is not a Debian package"
done

files=$(dpkg-deb -c "$deb")
echo "$files"
for f in ./usr/bin/waveorbit ./usr/bin/nimbuskit ./usr/libexec/waveorbit/nimbuskit \
         ./usr/libexec/waveorbit/nimbuskit.txt ./usr/share/applications/waveorbit.desktop \
         ./usr/share/metainfo/io.github.waveorbit.metainfo.xml; do
  grep -qE " $f( |$)" <<<"$files" || fail "missing $f"
done
for size in 16 22 24 32 48 64 128 256; do
  grep -q " ./usr/share/icons/hicolor/${size}x${size}/apps/waveorbit.png$" <<<"$files" ||
    fail "missing icon ${size}x${size}"
done
grep -qE ' ./usr/lib/([^/]+/)?waveorbit/waveorbit_web.so$' <<<"$files" || fail "missing web module"
grep -qE ' ./usr/lib/([^/]+/)?waveorbit/waveorbit_gl.so$' <<<"$files" || fail "missing GL video module"
# Nothing of the build or the tests slips in.
if grep -qE 'test|bench|demo|\.a$|/include/' <<<"$files"; then fail "unexpected files"; fi

root="$work/root"
dpkg -x "$deb" "$root"
[ "$(readlink -f "$root/usr/bin/nimbuskit")" = "$root/usr/libexec/waveorbit/nimbuskit" ] ||
  fail "nimbuskit link"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.waveorbit.metainfo.xml"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/waveorbit.desktop"
fi
grep -q '^Name\[ko\]=' "$root/usr/share/applications/waveorbit.desktop" || fail "no Korean name"
grep -q '^Categories=AudioVideo;Player;$' "$root/usr/share/applications/waveorbit.desktop" ||
  fail "categories"

# Started from the unpacked tree, the player paints its window; the
# screenshot hook saves a picture after the first paint and closes it.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
mkdir -p "$HOME"
unset DBUS_SESSION_BUS_ADDRESS
shot="$work/window.png"
WAVEORBIT_SCREENSHOT="$shot" QT_QPA_PLATFORM=xcb timeout 60 \
  xvfb-run -a -s "-screen 0 1280x800x24" "$root/usr/bin/waveorbit" || fail "the program failed"
[ -s "$shot" ] || fail "no window was shown"
size=$(file -b "$shot")
grep -q 'PNG image data, 836 x 354' <<<"$size" || fail "unexpected window picture: $size"
echo "package-check: $(basename "$deb") ok"
