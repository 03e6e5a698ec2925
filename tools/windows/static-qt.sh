#!/usr/bin/env bash
# Builds, once, a static Qt for 64-bit Windows from the source of the host's
# own Qt package, and prints where it is. Later runs find it and return at once.
#   tools/windows/static-qt.sh            build it if it is missing
#   tools/windows/static-qt.sh --where    print where it is or would be
#   tools/windows/static-qt.sh --check    exit 0 only if it is there
set -euo pipefail
# Only the answer goes to standard output; the build talks on standard error.
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$version" ]; then
    "$here/../install-deps.sh"
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
fi
upstream=${version%%+*}
cache=${TARVIK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvik}
prefix=$cache/qt-$upstream-mingw-w64-static

case ${1:-} in
    --where) echo "$prefix" >&3; exit 0 ;;
    --check) [ -f "$prefix/.complete" ]; exit ;;
esac
if [ -f "$prefix/.complete" ]; then echo "$prefix" >&3; exit 0; fi

"$here/../install-deps.sh" g++-mingw-w64-x86-64-posix ninja-build dpkg-dev perl python3

# Source packages come from the same archive as the binary ones. When none is
# configured, add deb-src entries in a file of our own name, and say so.
work=$cache/work
rm -rf "$work" && mkdir -p "$work"
cd "$work"
if ! apt-get source --download-only --print-uris "qt6-base=$version" >/dev/null 2>&1; then
    own=/etc/apt/sources.list.d/tarvik-deb-src
    note="# Added by Tarvik's tools/windows/static-qt.sh to fetch Qt's source for its Windows build. Safe to remove."
    echo "static-qt: adding Debian's source packages to apt, in $own.sources or $own.list"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        { echo "$note"; sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources; } >"$own.sources"
    fi
    if grep -q '^deb .*debian' /etc/apt/sources.list 2>/dev/null; then
        { echo "$note"; sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' /etc/apt/sources.list; } >"$own.list"
    fi
    apt-get update -qq
fi
apt-get source -qq "qt6-base=$version" >/dev/null
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)

# Installed under a temporary name, renamed when whole: a half-built Qt is
# never taken for a cache.
staging=$prefix.partial
rm -rf "$staging"
mkdir -p "$work/build" && cd "$work/build"
"$source_dir/configure" -prefix "$staging" -release -static -static-runtime \
    -qt-host-path /usr -nomake examples -nomake tests \
    -no-opengl -no-dbus -no-feature-vulkan -no-feature-tabletevent \
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent \
    -no-feature-printsupport \
    -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-harfbuzz -qt-freetype \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
cmake --build . --parallel "${JOBS:-$(nproc)}"
cmake --install . >/dev/null
# The LGPL asks that a statically linked Qt ships with its licence texts.
cp -r "$source_dir/LICENSES" "$staging/licenses"
rm -rf "$prefix" && mv "$staging" "$prefix"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix" >&3
