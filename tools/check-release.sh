#!/usr/bin/env bash
# make check-release: two releases of the commit checked out, built in two
# folders under two sets of conditions (folder and its depth, time of day,
# time zone, language, umask, parallel jobs), compared file by file. Where two
# differ, diffoscope shows how.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
first=$work/a
second=$work/second/in/a/deeper/folder
# release.sh builds in a folder of its own under TMPDIR: a longer one the second time.
mkdir -p "$first" "$second/temporary/files/of/the/second/build"
echo "check-release: two releases of $(git -C "$root" log -1 --format='%h (%cd)' --date=iso)"
git clone -q "$root" "$first/tarvik"
git clone -q "$root" "$second/tarvik"

echo "check-release: first build, UTC, C, umask 022, one job"
(cd "$first/tarvik" && umask 022 && TZ=UTC LC_ALL=C JOBS=1 tools/release.sh "$first/dist")
echo "check-release: second build, deeper folders, Asia/Kolkata, C.UTF-8, umask 077, two jobs"
(cd "$second/tarvik" && umask 077 && TZ=Asia/Kolkata LC_ALL=C.UTF-8 JOBS=2 \
    TMPDIR="$second/temporary/files/of/the/second/build" tools/release.sh "$second/dist")

status=0
for file in "$first"/dist/*; do
    name=$(basename "$file")
    if cmp -s "$file" "$second/dist/$name"; then
        echo "check-release: $name is the same"
    else
        echo "check-release: $name DIFFERS between the two builds" >&2
        "$root/tools/install-deps.sh" diffoscope-minimal python3-libarchive-c python3-debian \
            unzip binutils
        diffoscope --text - --max-diff-block-lines 40 --max-report-size 400000 \
            "$file" "$second/dist/$name" >&2 || true
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    echo "check-release: every artefact is the same in both builds ($SECONDS s in all):"
    cat "$first/dist/SHA256SUMS"
fi
exit "$status"
