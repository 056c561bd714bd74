#!/usr/bin/env bash
# A whole shoot in one command on the terminal (lvphost running lvp_hdr.so) with Debian's enfuse:
# three brackets made from real photos (-2, 0, +2 EV; the last of two frames) and a stray frame,
# their capture data written by exiftool. The dialog offers to fuse each bracket; every output
# exists, carries its own first photo's date, and lvphost prints every result in bracket order.
# Usage: batch_e2e_test.sh LVPHOST MODULE WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
host=$1 module=$2 work=$3
for p in tmux enfuse convert identify exiftool; do
    command -v $p >/dev/null || { echo "$p is not installed"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/shoot" "$work/tmp" "$work/home/.config/Lumivant"
work=$(cd "$work" && pwd)
. "$here/../../helpers/check.sh"

# frame N WALLPAPER MM:SS SUBSEC BIAS FACTOR: IMG_000N.jpg from the wallpaper, its light times FACTOR.
cd "$work/shoot" || exit 1
frame() {
    local name
    name=$(printf 'IMG_%04d.jpg' "$1")
    convert "/usr/share/wallpapers/$2/contents/images/1920x1080.jpg" -resize 640x360! -colorspace RGB \
        -evaluate multiply "$6" -colorspace sRGB -strip -quality 92 "$name" || exit 1
    exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 "-DateTimeOriginal=2026:05:01 10:$3" \
        "-SubSecTimeOriginal=$4" -ExposureTime=1/100 "-ExposureCompensation=$5" "$name" || exit 1
}
frame 1 Autumn 00:00 10 0 1
frame 2 Autumn 00:00 60 -2 0.25
frame 3 Autumn 00:01 10 +2 4
frame 4 BytheWater 00:30 00 0 1
frame 5 BytheWater 00:30 50 -2 0.25
frame 6 BytheWater 00:31 00 +2 4
frame 7 Path 01:00 00 -1 0.5
frame 8 Path 01:00 50 +1 2
frame 9 Kite 02:00 00 0 1
sums=$(md5sum IMG_*.jpg)

. "$here/../../helpers/tmux_pane.sh"
printf '\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\r\n<Document>\r\n <Author>lvp_hdr</Author>\r\n <Version>1.3</Version>\r\n <Settings>\r\n  <c Attr="EnfusePath" Type="string">/usr/bin/enfuse</c>\r\n  <c Attr="AlignImages" Type="int">0</c>\r\n </Settings>\r\n</Document>\r\n' \
    >"$work/home/.config/Lumivant/lvp_hdr.xml"
cat >"$work/run.sh" <<RUN
cd '$work/shoot'
HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' TMPDIR='$work/tmp' '$host' run '$module' \
    IMG_0001.jpg IMG_0002.jpg IMG_0003.jpg IMG_0004.jpg IMG_0005.jpg IMG_0006.jpg IMG_0007.jpg IMG_0008.jpg \
    IMG_0009.jpg >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
tmux_ new-session -d -x 120 -y 40 "env LANG=C.UTF-8 sh '$work/run.sh'" || { echo "tmux did not start"; exit 1; }
wait_for 'Belichtungsreihen zusammenführen' 60
tmux_ capture-pane -p >"$work/dialog.screen"
check "the box is offered, checked, with the count" 1 \
    "$(grep -c '\[x\] Jede Reihe einzeln zusammenführen (3 Reihen erkannt)' "$work/dialog.screen")"
check "the field proposes the first bracket's name" 1 "$(grep -c "$work/shoot/IMG_0001-IMG_0003.jpg" "$work/dialog.screen")"
tmux_ send-keys Enter
wait_for 'Klicken Sie auf "OK"' 600
tmux_ capture-pane -p -S -200 >"$work/run.screen"
tmux_ send-keys Enter
wait_for_end 30
outputs="IMG_0001-IMG_0003.jpg IMG_0004-IMG_0006.jpg IMG_0007-IMG_0008.jpg"
check "exit status" 0 "$(cat "$work/rc")"
check "every result, in bracket order" \
    "$(for o in $outputs; do printf '%s\t1\n' "$work/shoot/$o"; done)" "$(cat "$work/out")"
check "the summary" 1 "$(grep -c '3 von 3 Reihen zusammengeführt.' "$work/run.screen")"
check "nothing else in the folder (no output for the stray frame)" \
    "$(printf '%s\n' $outputs IMG_000{1..9}.jpg | sort | paste -sd ' ')" "$(ls | sort | paste -sd ' ')"
n=0
for o in $outputs; do
    first=$(printf 'IMG_%04d.jpg' $((n * 3 + 1)))
    n=$((n + 1))
    check "$o: enfuse's image, the photos' size" "640 360" "$(identify -format '%w %h' "$o" 2>&1)"
    check "$o: its own first photo's date" "$(exiftool -s3 -DateTimeOriginal -SubSecTimeOriginal "$first" | paste -sd ' ')" \
        "$(exiftool -s3 -DateTimeOriginal -SubSecTimeOriginal "$o" | paste -sd ' ')"
done
check "the photos stay as they were" "$sums" "$(md5sum IMG_????.jpg)"
check "nothing left in the temporary folder" "" "$(ls -A "$work/tmp")"
check "FuseEachBracket kept at its default: no entry" 0 "$(grep -c FuseEachBracket "$work/home/.config/Lumivant/lvp_hdr.xml")"
[ $failed = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failed
