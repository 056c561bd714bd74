#!/usr/bin/env bash
# A renamed copy of the module shows its own file name, without extension, as the caption of its
# message boxes. lvphost runs the command with one file, which the module refuses with message
# 107. Linux: the box goes to standard error as "caption: text" (no terminal). Windows (under
# Wine): box_driver.exe reads the real box.
# Usage: renamed_module_test.sh HOST MODULE STRINGS WORK_DIR [BOX_DRIVER_EXE]
set -u
abs() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
host=$(abs "$1") module=$(abs "$2") strings=$3 work=$4 driver=${5:-}
here=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
text=$(grep -P "^107\t" "$strings" | cut -f3)
title="HDR Kopie v1.3"
copy=$work/$title.${module##*.}
cp "$module" "$copy"
. "$here/tests/helpers/check.sh"

if [ -z "$driver" ]; then
    # Every unload writes the settings: into a folder of this test's own (the host's folder would
    # be taken when it cannot be made).
    mkdir -p "$work/home/.config"
    HOME=$work/home XDG_CONFIG_HOME=$work/home/.config setsid --wait "$host" run "$copy" a.jpg \
        </dev/null >"$work/host.out" 2>"$work/host.err"
    check "exit status" 1 $?
    check "caption and text" "$title: $text" "$(cat "$work/host.err")"
    check "no settings beside the host" "" "$(ls "$(dirname "$host")/lvp_hdr.xml" 2>/dev/null)"
    exit $failed
fi

win() { local p=$1; echo "Z:${p//\//\\}"; }
prefix=${WINEPREFIX:-$here/build/windows/wineprefix}
clean_settings() { rm -rf "$prefix"/drive_c/users/*/AppData/Roaming/Lumivant; }
clean_settings
trap clean_settings EXIT # what the unload writes goes on every way out
(
    cd "$work" || exit 1
    "$here/scripts/wine-run" "$host" run "$(win "$copy")" IMG_1.JPG </dev/null >host.out 2>host.err &
    pid=$!
    "$here/scripts/wine-run" "$(abs "$driver")" </dev/null >driver.out 2>&1
    echo $? >driver.rc
    wait $pid
    echo $? >host.rc
)
tr -d '\r' <"$work/driver.out" >"$work/driver.txt"
check "box answered" 0 "$(cat "$work/driver.rc")"
check "exit status" 1 "$(cat "$work/host.rc")"
check "caption and text" "caption: $title
text: $text" "$(cat "$work/driver.txt")"
exit $failed
