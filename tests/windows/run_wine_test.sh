#!/usr/bin/env bash
# Runs the Wine driver in a Wine prefix of its own, new for every run so that
# what the installer leaves behind is seen, on a private Xvfb.
# Usage: run_wine_test.sh DRIVER EXE_FOLDER INSTALLER [TEST FUNCTIONS...]
set -euo pipefail
driver=$1
export TARVIK_EXE_DIR=$2 TARVIK_INSTALLER=$3
shift 3
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset TMPDIR # Wine 10's server aborts with it set (a double free)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# Made without a display, its desktop must end before the driver starts one.
wineboot --init >/dev/null 2>&1
wineserver --wait
# One server for the whole run: one that ends between two commands may still
# be saving the registry when the next command's server reads it.
wineserver -p
"$(dirname "$0")/../../tools/with_xvfb.sh" "$driver" "$@"
