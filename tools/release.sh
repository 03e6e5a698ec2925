#!/usr/bin/env bash
# make release: dist/ with the source tarball, the Debian package, the Windows
# zip and installer, the browser zip and SHA256SUMS, all built from a clean
# copy of the commit checked out and the same bytes on every run; with a key,
# SHA256SUMS.asc too, its signature. Made on Debian 13, as the Windows build is.
#   tools/release.sh [DIST [KEY]]    (dist/ by default, unsigned)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
dist=$(realpath -m "${1:-dist}")
key=${2:-}
if ! tools/windows/static-qt.sh --supported 2>/dev/null; then
    echo "make release: a release is made on Debian 13, whose Qt 6.8 the Windows build is made" \
        "from. On this system, \`tools/debian13.sh release\` (as root) makes it in a Debian 13" \
        "tree and copies it into dist/." >&2
    exit 1
fi
if [ -n "$(git status --porcelain)" ]; then
    echo "make release: the working tree has changes that are not committed; a release is" \
        "built from the commit alone, so commit or stash them first:" >&2
    git status --short >&2
    exit 1
fi

# Whoever builds it, wherever and whenever: every date is the commit's, and
# the caller's time zone, language and umask do not reach the build.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022
version=$(dpkg-parsechangelog -l packaging/changelog -S Version)
name=tarvik-$version

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive --format=tar --prefix="$name/" HEAD | gzip -9n >"$work/$name.tar.gz"
tar -xzf "$work/$name.tar.gz" -C "$work"
source=$work/$name
# The folder it is built in leaves no trace in what is built.
export CFLAGS="-ffile-prefix-map=$source=/usr/src/$name" CXXFLAGS="-ffile-prefix-map=$source=/usr/src/$name"
make -C "$source" package web-site windows

artefacts=("$work/$name.tar.gz" "$source/build/tarvik_${version}_amd64.deb"
    "$source/build-windows/$name-win64.zip" "$source/build-windows/$name-win64.exe"
    "$source/build-web/$name-web.zip")
mkdir -p "$dist"
cp "${artefacts[@]}" "$dist/"
cd "$dist"
sha256sum "${artefacts[@]##*/}" >SHA256SUMS
cat SHA256SUMS
[ -z "$key" ] || "$root/tools/sign-release.sh" "$dist" "$key"
