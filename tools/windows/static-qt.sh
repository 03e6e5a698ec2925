#!/usr/bin/env bash
# Builds, once, a static Qt for 64-bit Windows from the source of the host's
# own Qt package, configured small, and prints where it is. Later runs find it
# and return at once.
#   tools/windows/static-qt.sh            build it if it is missing
#   tools/windows/static-qt.sh --where    print where it is or would be
#   tools/windows/static-qt.sh --check    exit 0 only if it is there
#   tools/windows/static-qt.sh --supported  exit 0 only if this system's Qt is
#                                         the one it is made from, else say so
set -euo pipefail
# Only the answer goes to standard output; the build talks on standard error.
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)

# The Qt this system's archive gives, installed or not.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$version" ]; then
    version=$(apt-cache policy qt6-base-dev | sed -n 's/^ *Candidate: //p')
fi
upstream=${version%%+*}
# Made from Qt 6.8, Debian 13's, a long-term release: Qt 6.4 (Debian 12's)
# is no longer supported by Qt, and one Windows program is built one way.
if [ "${upstream%.*}" != 6.8 ]; then
    echo "The Windows build is made on Debian 13, from its Qt 6.8; this system's Qt is" \
        "${upstream:-not in its archive}. On this system, \`make test-debian13\` (as root) builds" \
        "and tests it in a Debian 13 tree; see the README's Windows section." >&2
    exit 1
fi
[ "${1:-}" = --supported ] && exit 0
[ -n "$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null)" ] || "$here/../install-deps.sh"

# Only what Tarvik and its tests use: the main window with its menu bar, the
# message box with its details, BMP and PNG images, accessibility, the
# Windows and offscreen platforms and Qt Test, and what the Windows style
# draws. Everything else is off, so that the static program carries none of
# it. (The tool bar, drag and drop, the tab bar and the spin boxes stay: the
# Vista style draws them without asking whether they are there. Direct2D and
# PCRE2 stay as they were for Qt 6.4, whose Windows platform did not link
# without the one and which did not configure without the other.)
options=(
    -release -static -static-runtime -optimize-size
    # Sources compiled in batches: the same code, in a third of the time
    # (docs/BUILDING.md), since most of Qt's time goes on reading its headers.
    -unity-build
    -nomake examples -nomake tests
    -no-opengl -no-dbus -no-feature-vulkan
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent
    -no-feature-printsupport
    -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype -no-libjpeg
    # Core
    -no-feature-mimetype -no-feature-timezone -no-feature-sharedmemory
    -no-feature-systemsemaphore -no-feature-jalalicalendar -no-feature-hijricalendar
    -no-feature-filesystemwatcher -no-feature-xmlstream -no-feature-gestures
    -no-feature-sha3-fast
    # Gui
    -no-feature-tabletevent -no-feature-sessionmanager -no-feature-systemtrayicon
    -no-feature-textmarkdownreader -no-feature-textmarkdownwriter -no-feature-textodfwriter
    -no-feature-pdf -no-feature-movie -no-feature-picture -no-feature-desktopservices
    -no-feature-whatsthis -no-feature-undocommand -no-feature-filesystemmodel
    -no-feature-image_heuristic_mask -no-feature-image_text
    -no-feature-imageformat_ppm -no-feature-imageformat_xbm -no-feature-imageformat_jpeg
    -no-feature-gif -no-feature-ico -no-feature-jpeg
    # Widgets
    -no-feature-style-fusion -no-feature-style-stylesheet
    -no-feature-graphicsview -no-feature-mdiarea -no-feature-splitter -no-feature-scroller
    -no-feature-calendarwidget -no-feature-colordialog -no-feature-fontdialog
    -no-feature-filedialog -no-feature-progressdialog -no-feature-errormessage
    -no-feature-wizard -no-feature-splashscreen -no-feature-textbrowser
    -no-feature-syntaxhighlighter -no-feature-commandlinkbutton -no-feature-lcdnumber
    -no-feature-dial -no-feature-formlayout -no-feature-fontcombobox
    -no-feature-keysequenceedit -no-feature-listwidget -no-feature-treewidget
    -no-feature-tablewidget -no-feature-columnview -no-feature-completer
    -no-feature-datawidgetmapper -no-feature-toolbox -no-feature-itemviews
    # Qt's BMP reader reads whatever file lies beside the program, so Qt is
    # stack-protected (-fstack-protector-strong), and built with MinGW-w64's
    # checked C functions (_FORTIFY_SOURCE, below), as Tarvik's own code is.
    # Not the rest of what Qt 6.8 would add: Windows probes every large stack
    # frame already, and the standard library's assertions and CET would take
    # the program over its size (see docs/BUILDING.md).
    -no-feature-stack_clash_protection -no-feature-libstdcpp_assertions -no-feature-intelcet
)
hardening="-D_FORTIFY_SOURCE=2"
# A few lines of Qt's source keep code and data Tarvik never uses out of the
# program: FreeType on the Windows platform (Tarvik never asks for it; the
# offscreen platform the tests use keeps it), the regular expressions' JIT
# compiler, the two uses of the C++ library's locales (a stringstream in a
# debug dump, a classic-locale tolower) that link in every locale facet, the
# Windows 11 style (it does not build without graphicsview), the table of
# screen makers' names, the styles' standard icons and the RHI's Direct3D 11
# and 12 backends (Tarvik paints with the raster engine); and the Vista style
# builds without the item views.
patch=$here/qt-small.patch
# A changed configuration, patch or source is a new Qt, in a folder of its own.
stamp=$(printf '%s\n' "$version" "${options[@]}" "$hardening" "$(cat "$patch")" |
    sha256sum | cut -c1-8)
cache=${TARVIK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvik}
prefix=$cache/qt-$upstream-mingw-w64-static-$stamp

case ${1:-} in
    --where) echo "$prefix" >&3; exit 0 ;;
    --check) [ -f "$prefix/.complete" ]; exit ;;
esac
if [ -f "$prefix/.complete" ]; then echo "$prefix" >&3; exit 0; fi

"$here/../install-deps.sh" g++-mingw-w64-x86-64-posix ninja-build dpkg-dev patch perl python3

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
if ! patch -p1 -s --dry-run -d "$source_dir" <"$patch" >/dev/null; then
    echo "static-qt: $patch does not apply to Qt $version's source" >&2
    exit 1
fi
patch -p1 -s -d "$source_dir" <"$patch"

# Installed under a temporary name, renamed when whole: a half-built Qt is
# never taken for a cache. The prefix written into the library is a fixed
# name, and so are the source paths, so that where the cache lies leaves no
# trace in the programs built against it.
staging=$prefix.partial
rm -rf "$staging"
mkdir -p "$work/build" && cd "$work/build"
echo "static-qt: configuring Qt $upstream ($stamp)"
"$source_dir/configure" -prefix /opt/tarvik-qt "${options[@]}" -qt-host-path /usr \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "-DCMAKE_CXX_FLAGS=-w $hardening -ffile-prefix-map=$work=/qt" \
    "-DCMAKE_C_FLAGS=-w $hardening -ffile-prefix-map=$work=/qt" \
    >configure.log || { tail -n 40 configure.log; exit 1; }
# One line in twenty of the build's progress, as it comes: enough for a long
# log to show where it is.
echo "static-qt: building"
NINJA_STATUS="[%f/%t %es] " ninja -j "${JOBS:-$(nproc)}" -k 0 |
    while IFS= read -r line; do
        if [[ $line =~ ^\[([0-9]+)/([0-9]+)\ ([^]]*)\] ]]; then
            step=${BASH_REMATCH[1]} steps=${BASH_REMATCH[2]}
            ((step % 20 && step != steps)) || echo "static-qt: [$step/$steps ${BASH_REMATCH[3]}]"
        else
            echo "$line"
        fi
    done
cmake --install . --prefix "$staging" >/dev/null
# The LGPL asks that a statically linked Qt ships with its licence texts.
cp -r "$source_dir/LICENSES" "$staging/licenses"
rm -rf "$prefix" && mv "$staging" "$prefix"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix" >&3
