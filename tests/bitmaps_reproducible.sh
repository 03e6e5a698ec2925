#!/usr/bin/env bash
# The committed bitmaps are exactly what tools/draw_bitmaps draws.
set -euo pipefail
generator=$1
assets=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$generator" "$out"
for name in Kon_W.bmp Kon_W2.bmp Trelk_W.bmp Trelk.bmp; do
    cmp "$assets/$name" "$out/$name"
done
echo "4 bitmaps reproduced"
