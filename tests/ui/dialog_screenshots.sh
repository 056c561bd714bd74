#!/usr/bin/env bash
# Takes pictures of the fusion dialog under Wine in its three states: Editing, Running (mid-run)
# and Finished. Usage: dialog_screenshots.sh TEST_EXE OUT_DIR [XML];
# the pictures are OUT_DIR/dialog_editing.png, dialog_running.png, dialog_finished.png.
set -u
exe=$1 out=$2 xml=${3:-}
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ] || ! command -v import >/dev/null; then
    echo "no display or no ImageMagick import: no screenshots"
    exit 0
fi
mkdir -p "$out"
# The handshake with the test program, in the output folder; gone on every way out.
shots=$(cd "$out" && pwd)/.handshake-$$
mkdir -p "$shots"
trap 'rm -rf "$shots"' EXIT
states=(editing running finished)
for s in "${states[@]}"; do rm -f "$out/dialog_$s.png"; done
export LVP_SHOT_DIR="Z:${shots//\//\\}"
"$here/scripts/wine-run" "$exe" ${xml:+--gtest_output="xml:$xml"} </dev/null &
pid=$!
geometry=
for s in "${states[@]}"; do
    for _ in $(seq 600); do
        [ -e "$shots/$s.ready" ] && break
        sleep 0.1
    done
    [ -e "$shots/$s.ready" ] || { echo "the dialog never reached $s"; break; }
    sleep 0.5
    # The dialog tells where it is; the running state (announced by the tool) is where it was.
    g=$(head -n 1 "$shots/$s.ready" | tr -d "\r")
    [[ $g =~ ^[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+$ ]] && geometry=$g
    import -window root ${geometry:+-crop "$geometry"} +repage "$out/dialog_$s.png"
    touch "$shots/$s.go"
done
wait $pid
rc=$?
for s in "${states[@]}"; do
    [ -s "$out/dialog_$s.png" ] || { echo "no screenshot of $s"; exit 1; }
    echo "screenshot: $out/dialog_$s.png"
done
exit $rc
