#!/usr/bin/env bash
# Takes a screenshot of the live output pane under Wine while the fake tool waits mid-run.
# Usage: screenshot.sh TEST_EXE OUT_DIR XML; the picture is OUT_DIR/toolrun_midrun.png.
set -u
exe=$1 out=$2 xml=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ] || ! command -v import >/dev/null; then
    echo "no display or no ImageMagick import: no screenshot"
    exit 0
fi
mkdir -p "$out"
# The handshake with the test program, in the output folder; gone on every way out.
shots=$(cd "$out" && pwd)/.handshake-$$
mkdir -p "$shots"
trap 'rm -rf "$shots"' EXIT
rm -f "$out/toolrun_midrun.png"
export LVP_SHOT_DIR="Z:${shots//\//\\}"
"$here/scripts/wine-run" "$exe" \
    --gtest_output="xml:$xml" &
pid=$!
for _ in $(seq 600); do
    [ -e "$shots/ready" ] && break
    sleep 0.1
done
sleep 1
import -window root "$out/toolrun_midrun.png"
touch "$shots/go"
wait $pid
rc=$?
[ -s "$out/toolrun_midrun.png" ] || { echo "no screenshot taken"; exit 1; }
echo "screenshot: $out/toolrun_midrun.png"
exit $rc
