#!/usr/bin/env bash
# Runs a command inside a private Xvfb that lives exactly as long as it does.
# -noreset keeps the server as it is between the programs a test starts.
set -euo pipefail

display_file=$(mktemp)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$display_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$display_file" "$XDG_RUNTIME_DIR"' EXIT

for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$server" 2>/dev/null || { echo "with_xvfb: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
[ -s "$display_file" ] || { echo "with_xvfb: Xvfb gave no display number" >&2; exit 1; }

export DISPLAY=":$(head -n 1 "$display_file")"
# xdotool matches the Russian window titles only in a UTF-8 locale.
export LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
"$@"
