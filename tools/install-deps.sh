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
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
