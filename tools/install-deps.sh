#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and
# any more named on the command line. Quiet and quick when all is there.
set -euo pipefail

packages=(
    cmake make g++ qt6-base-dev qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core
    xvfb xdotool x11-utils
    dpkg-dev file desktop-file-utils appstream lintian devscripts man-db gpg gpg-agent
    emscripten node-terser zip chromium chromium-driver firefox-esr webkit2gtk-driver
    qt6-websockets-dev python3
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
# Another apt or dpkg run (Debian's daily apt timers on a newly booted
# desktop, an install beside ours) holds apt's lock for minutes: wait for it,
# say so, and give up only past a deadline.
lockDeadline=${TARVIK_APT_LOCK_WAIT:-900}
aptGet() {
    local until=$((SECONDS + lockDeadline)) said= errors
    errors=$(mktemp)
    until "${sudo[@]}" apt-get "$@" 2>"$errors"; do
        if ! grep -q 'Could not get lock\|Unable to acquire\|Unable to lock' "$errors"; then
            cat "$errors" >&2 && rm -f "$errors" && return 1
        fi
        if ((SECONDS >= until)); then
            echo "install-deps: apt is still locked by another package manager after $lockDeadline s:" >&2
            cat "$errors" >&2 && rm -f "$errors" && return 1
        fi
        [ -n "$said" ] || echo "install-deps: waiting up to $lockDeadline s for another package manager" \
            "to finish: $(grep -m1 -o 'held by process.*' "$errors" || echo 'apt is locked')"
        said=1
        sleep 3
    done
    cat "$errors" >&2 && rm -f "$errors"
}
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
aptGet update -qq
aptGet install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
