#!/usr/bin/env bash
# Runs a Windows program under Wine, in Tarvik's own Wine prefix (made on
# first use), with no X display: what runs here is offscreen or draws into
# files. Wine keeps QT_* variables from Windows programs but hands WINEQT_*
# on as QT_*, so they are passed that way.
set -euo pipefail
export WINEPREFIX=${TARVIK_WINEPREFIX:-${TARVIK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvik}/wine}
# No Wayland driver either: Wine 10's looks for a compositor and, without
# XDG_RUNTIME_DIR, prints an error into the build's output.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winewayland.drv="
unset DISPLAY WAYLAND_DISPLAY
# Wine 10's server aborts when TMPDIR is set (a double free): a release,
# which builds under a TMPDIR of its own, would fail at its first Wine run.
scratch=${TMPDIR:-/tmp}
unset TMPDIR
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1'
fi
while IFS='=' read -r name _; do
    export "WINE$name=${!name}"
done < <(env | grep '^QT_[A-Z_]*=' || true)

program=$1
shift
case $(basename "$program") in
tst_*.exe)
    # A Qt test's log does not reach a Unix pipe under Wine; a file does.
    log=$(mktemp -p "$scratch")
    trap 'rm -f "$log"' EXIT
    status=0
    wine "$program" "$@" -o "$log,txt" || status=$?
    cat "$log"
    exit "$status"
    ;;
*) exec wine "$program" "$@" ;;
esac
