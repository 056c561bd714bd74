#!/usr/bin/env bash
# A hand-held series through the real dialog on the terminal with Debian's align_image_stack and
# enfuse: made from a real photo (frames 2 and 3 moved by 12/8 and -10/6 pixels and turned by
# 0.4 and -0.3 degrees), fused with the box checked; the result must be clearly closer to the
# tripod series' fusion than enfuse alone on the hand-held series, and the run must leave the
# photos as they were and no temporary behind.
# Usage: align_e2e_test.sh TERMINAL_DIALOG_RUN WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
run=$1 work=$2
for p in tmux align_image_stack enfuse convert compare; do
    command -v $p >/dev/null || { echo "$p is not installed"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/series" "$work/tmp"
work=$(cd "$work" && pwd)
photo=/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg
cd "$work/series" || exit 1
convert "$photo" -resize 1760x1100! "$work/base.png" || exit 1
# frame, shift x, shift y, angle, light factor
for spec in "1 0 0 0 0.25" "2 12 8 0.4 1" "3 -10 6 -0.3 4"; do
    set -- $spec
    expose=(-colorspace RGB -evaluate multiply "$5" -colorspace sRGB -quality 95)
    convert "$work/base.png" -virtual-pixel edge -distort SRT "880,550 1 $4 $((880 + $2)),$((550 + $3))" \
        -gravity center -crop 1600x1000+0+0 +repage "${expose[@]}" "hand$1.jpg" || exit 1
    convert "$work/base.png" -gravity center -crop 1600x1000+0+0 +repage "${expose[@]}" "$work/tripod$1.jpg" || exit 1
done
sums=$(md5sum hand*.jpg)
enfuse -o "$work/tripod.tif" "$work"/tripod{1,2,3}.jpg >/dev/null 2>&1 || { echo "enfuse failed on the tripod series"; exit 1; }
enfuse -o "$work/unaligned.tif" hand{1,2,3}.jpg >/dev/null 2>&1 || { echo "enfuse failed on the hand-held series"; exit 1; }

. "$here/../../helpers/tmux_pane.sh"
cat >"$work/run.sh" <<RUN
cd '$work/series'
TMPDIR='$work/tmp' LVP_PID_FILE='$work/pid' '$run' /usr/bin/enfuse '$work/series/hand1-hand3.tif' 95 \
    '$work/series/hand1.jpg' '$work/series/hand2.jpg' '$work/series/hand3.jpg' >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
tmux_ new-session -d -x 100 -y 30 "env LANG=C.UTF-8 sh '$work/run.sh'"
wait_for '[x] Bilder vor dem Zusammenführen ausrichten' 60
tmux_ send-keys Enter
wait_for 'Klicken Sie auf "OK"' 600
screen=$(tmux_ capture-pane -p)
tmux_ send-keys Enter
for _ in $(seq 1 300); do [ -f "$work/rc" ] && break; sleep 0.1; done
fail=0
grep -q '^outcome 0$' "$work/out" || { echo "not fused:"; cat "$work/out"; echo "$screen"; fail=1; }
printf '%s\n' "$screen" | grep -qF 'Die Bilder konnten nicht ausgerichtet werden' && { echo "alignment failed"; fail=1; }
[ "$(md5sum hand*.jpg)" = "$sums" ] || { echo "the photos changed"; fail=1; }
[ -z "$(ls -A "$work/tmp")" ] || { echo "left in the temporary folder: $(ls -A "$work/tmp")"; fail=1; }
[ "$(ls)" = "$(printf 'hand1-hand3.tif\nhand1.jpg\nhand2.jpg\nhand3.jpg')" ] || { echo "stray files: $(ls)"; fail=1; }
[ $fail = 0 ] || exit 1

# The aligned result is cropped to what all frames cover; its place in the first frame is its
# page offset. Both results are compared with the tripod result over that area.
read -r w h x y <<<"$(identify -format '%w %h %X %Y' hand1-hand3.tif)"
x=${x#+} y=${y#+}
area="${w}x$h+$x+$y"
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1; }
convert "$work/tripod.tif" -crop "$area" +repage "$work/tripod_area.tif"
convert "$work/unaligned.tif" -crop "$area" +repage "$work/unaligned_area.tif"
convert hand1-hand3.tif +repage "$work/aligned_area.tif"
aligned=$(psnr "$work/tripod_area.tif" "$work/aligned_area.tif")
unaligned=$(psnr "$work/tripod_area.tif" "$work/unaligned_area.tif")
echo "PSNR against the tripod result over $area: aligned $aligned dB, unaligned $unaligned dB"
awk -v a="$aligned" -v u="$unaligned" 'BEGIN { printf "aligned better by %.1f dB\n", a - u; exit !(a > u + 5) }' \
    || { echo "the aligned result is not clearly closer"; exit 1; }
echo "1 passed, 0 failed"
