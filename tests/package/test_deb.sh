#!/usr/bin/env bash
# Builds the Debian package, checks what it holds and that apt could install
# it, validates its desktop files, then plays the program extracted from it
# under Xvfb: start-up, one move, Exit.
# Usage: test_deb.sh BUILD_DIR END_TO_END_TEST WITH_XVFB
set -euo pipefail
build=$1
end_to_end=$2
with_xvfb=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >/dev/null
deb=$(ls "$work"/out/*.deb)
root=$work/root
dpkg-deb -x "$deb" "$root"

fail() { echo "test_deb: $*" >&2; exit 1; }
[ "$(readlink "$root/usr/bin/tarvik")" = ../lib/tarvik/tarvik ] || fail "usr/bin/tarvik is not a link to the program"
for name in tarvik Kon_W.bmp Kon_W2.bmp Trelk_W.bmp Trelk.bmp; do
    [ -f "$root/usr/lib/tarvik/$name" ] || fail "usr/lib/tarvik/$name is missing"
done
[ -f "$root/usr/share/icons/hicolor/48x48/apps/tarvik.png" ] || fail "no 48x48 icon"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends does not name the Qt libraries"

desktop-file-validate "$root/usr/share/applications/org.example.Tarvik.desktop"
# The running window's class, which links it to its entry.
grep -qx 'StartupWMClass=tarvik' "$root/usr/share/applications/org.example.Tarvik.desktop" \
    || fail "the desktop entry does not name the window class"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.Tarvik.metainfo.xml" >/dev/null \
    || fail "appstreamcli rejects the metainfo file"
apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt cannot install the package"; }

TARVIK_PROGRAM_DIR=$root/usr/bin "$with_xvfb" "$end_to_end" knightMoveFromTheMenuThenAClick
echo "the package installs, validates and plays"
