#!/usr/bin/env bash
# Runs the fuzz target for that many seconds from our seeds, and fails on any
# finding, printing it in hex, with where to keep it.
#   tests/fuzz/run.sh FUZZER SECONDS WORKDIR
set -euo pipefail
fuzzer=$1 seconds=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work/findings" && mkdir -p "$work/corpus" "$work/findings"
cp "$here"/corpus/*.bmp "$here"/../../assets/*.bmp "$work/corpus/"
find "$here/regressions" -type f ! -name README.md -exec cp {} "$work/corpus/" \;
status=0
"$fuzzer" -max_total_time="$seconds" -max_len=20000 -dict="$here/bitmap.dict" \
    -artifact_prefix="$work/findings/" -print_final_stats=1 "$work/corpus" >"$work/fuzz.log" 2>&1 ||
    status=$?
# The start, the end and the totals; all of a failure.
if [ "$status" -eq 0 ]; then
    grep -E '^#[0-9]+.*(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)|^Done ' "$work/fuzz.log"
else
    grep -vE '^#[0-9]+.*(NEW|REDUCE|pulse)' "$work/fuzz.log" | tail -n 80
fi
for finding in "$work"/findings/*; do
    [ -e "$finding" ] || continue
    echo "fuzz: found $(basename "$finding") ($(stat -c %s "$finding") bytes):"
    xxd "$finding" | head -n 64
    echo "fuzz: keep it in tests/fuzz/regressions/ once it is mended; the suite then reads it."
    status=1
done
exit "$status"
