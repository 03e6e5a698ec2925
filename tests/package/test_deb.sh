#!/usr/bin/env bash
# Builds the Debian package, checks what it holds, that lintian finds no error
# or warning in it, that it is hardened as Debian's own programs are and that
# apt could install it, validates its desktop files,
# then plays the program extracted from it under Xvfb: start-up, one move, Exit.
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
[ "$(readlink "$root/usr/games/tarvik")" = ../lib/games/tarvik/tarvik ] || fail "usr/games/tarvik is not a link to the program"
for name in tarvik Kon_W.bmp Kon_W2.bmp Trelk_W.bmp Trelk.bmp; do
    [ -f "$root/usr/lib/games/tarvik/$name" ] || fail "usr/lib/games/tarvik/$name is missing"
done
doc=$root/usr/share/doc/tarvik
version=$(dpkg-deb -f "$deb" Version)
zcat "$doc/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] \
    || fail "the changelog's newest entry is not version $version"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" \
    || fail "usr/share/doc/tarvik/copyright is not in Debian's machine-readable format"
manual=$root/usr/share/man/man6/tarvik.6.gz
[ -f "$manual" ] || fail "usr/share/man/man6/tarvik.6.gz is missing"
man_warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the manual page has warnings: $man_warnings"
# Pedantic and informational tags are shown but do not fail the test, but for
# hardening.
lintian --info --pedantic --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 \
    || { cat "$work/lintian.log" >&2; fail "lintian finds errors or warnings"; }
cat "$work/lintian.log" >&2
! grep -q hardening "$work/lintian.log" || fail "lintian names a hardening tag"
# Built as Debian hardens its programs: every line hardening-check can judge
# says so. Control-flow protection is judged only where the C library's own
# start files carry it (Debian 12's and 13's do not, so no program there
# can), and branch protection only on arm64, whose feature it is.
judged=()
readelf -n "$(g++ -print-file-name=Scrt1.o)" | grep -q IBT || judged+=(--nocfprotection)
if [ "$(dpkg --print-architecture)" != arm64 ] && grep -q nobranchprotection "$(command -v hardening-check)"; then
    judged+=(--nobranchprotection)
fi
hardening-check "${judged[@]}" "$root/usr/lib/games/tarvik/tarvik" >"$work/hardening.log" \
    || { cat "$work/hardening.log" >&2; fail "hardening-check finds the program unprotected"; }
[ -f "$root/usr/share/icons/hicolor/48x48/apps/tarvik.png" ] || fail "no 48x48 icon"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends does not name the Qt libraries"

desktop-file-validate "$root/usr/share/applications/org.example.Tarvik.desktop"
# The running window's class, which links it to its entry.
grep -qx 'StartupWMClass=tarvik' "$root/usr/share/applications/org.example.Tarvik.desktop" \
    || fail "the desktop entry does not name the window class"
grep -qx 'Exec=/usr/games/tarvik' "$root/usr/share/applications/org.example.Tarvik.desktop" \
    || fail "the desktop entry does not start /usr/games/tarvik"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.Tarvik.metainfo.xml" >/dev/null \
    || fail "appstreamcli rejects the metainfo file"
apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt cannot install the package"; }

TARVIK_PROGRAM_DIR=$root/usr/games "$with_xvfb" "$end_to_end" knightMoveFromTheMenuThenAClick
echo "the package installs, validates and plays"
