#!/usr/bin/env bash
# Focus stacks through the whole command on the terminal (lvphost running lvp_hdr.so) with
# Debian's enfuse and align_image_stack. From a real photo, three frames each sharp in one band
# (top, middle, bottom; neighbours overlap) and blurred elsewhere: fused as a focus stack, the result must be within
# 0.5 dB PSNR (against the sharp photo) of enfuse run directly with the same options, and clearly
# sharper than the same frames fused as an exposure series. A second set adds the magnification
# steps of refocusing (1.00, 1.01, 1.02, scaled about the centre and cropped back): aligned, the
# result must be clearly closer to the sharp photo than unaligned. The setting FusionMode chooses
# the mode; the confirmed dialog keeps it in the settings file.
# Usage: focus_e2e_test.sh LVPHOST MODULE WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
abs() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
host=$(abs "$1") module=$(abs "$2") work=$3
for p in tmux enfuse align_image_stack convert compare identify; do
    command -v $p >/dev/null || { echo "$p is not installed"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/stack" "$work/zoom" "$work/tmp" "$work/home/.config/Lumivant"
work=$(cd "$work" && pwd)
. "$here/../../helpers/check.sh"
settings=$work/home/.config/Lumivant/lvp_hdr.xml

photo=/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg
# The bands overlap, as the depths of field of a real stack's neighbours do: the alignment finds
# its control points where two frames are both sharp.
w=1200 h=750 band=350 step=200
convert "$photo" -resize ${w}x$h! "$work/sharp.png" || exit 1
convert "$work/sharp.png" -blur 0x4 "$work/blurred.png" || exit 1
# frame N: sharp in band N, blurred elsewhere; then the same frame magnified by the factor.
for spec in "1 1.00" "2 1.01" "3 1.02"; do
    set -- $spec
    y=$((($1 - 1) * step))
    convert "$work/blurred.png" \( "$work/sharp.png" -crop ${w}x$band+0+$y +repage \) -geometry +0+$y -composite \
        "$work/frame$1.png" || exit 1
    convert "$work/frame$1.png" -quality 95 "$work/stack/IMG_$1.jpg" || exit 1
    convert "$work/frame$1.png" -virtual-pixel edge -distort SRT "$((w / 2)),$((h / 2)) $2 0" -quality 95 \
        "$work/zoom/ZOOM_$1.jpg" || exit 1
done
focus_options=(--exposure-weight=0 --saturation-weight=0 --contrast-weight=1 --hard-mask)
enfuse --compression=95 "${focus_options[@]}" -o "$work/direct.jpg" "$work"/stack/IMG_{1,2,3}.jpg >/dev/null 2>&1 \
    || { echo "enfuse failed on the stack"; exit 1; }

. "$here/../../helpers/tmux_pane.sh"
# fuse NAME FOLDER FIRST MODE ALIGN [OUTPUT]: one run of the command through its dialog on the
# folder's three photos with the settings' FusionMode MODE and AlignImages ALIGN (Enter fuses,
# Enter closes); OUTPUT, when given, is typed into the output field first. The dialog as it opened
# goes to $work/NAME.before, the screen at the end to $work/NAME.screen.
fuse() {
    local name=$1 folder=$2 first=$3 mode=$4 align=$5 output=${6:-}
    rm -f "$work/rc" "$work/out" "$work/err" "$folder/${first}_1-${first}_3.jpg"
    printf '\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\r\n<Document>\r\n <Author>lvp_hdr</Author>\r\n <Version>1.3</Version>\r\n <Settings>\r\n  <c Attr="EnfusePath" Type="string">/usr/bin/enfuse</c>\r\n  <c Attr="AlignImages" Type="int">%s</c>\r\n  <c Attr="FusionMode" Type="int">%s</c>\r\n </Settings>\r\n</Document>\r\n' \
        "$align" "$mode" >"$settings"
    cat >"$work/run.sh" <<RUN
cd '$folder'
HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' TMPDIR='$work/tmp' '$host' run '$module' \
    ${first}_1.jpg ${first}_2.jpg ${first}_3.jpg >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
    tmux_ kill-server 2>/dev/null
    sock=$work/sock-$name
    tmux_ new-session -d -x 120 -y 40 "env LANG=C.UTF-8 sh '$work/run.sh'" || { echo "tmux did not start"; exit 1; }
    wait_for 'Art der Reihe:' 60
    tmux_ capture-pane -p >"$work/$name.before"
    if [ -n "$output" ]; then
        tmux_ send-keys Tab Tab # the output field, its text selected
        tmux_ send-keys -l "$output"
    fi
    tmux_ send-keys Enter
    wait_for 'Klicken Sie auf "OK"' 600
    tmux_ capture-pane -p >"$work/$name.screen"
    tmux_ send-keys Enter
    for _ in $(seq 1 300); do [ -f "$work/rc" ] && break; sleep 0.1; done
}
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1; }
# at_least A B MARGIN: A is more than B + MARGIN.
at_least() { awk -v a="$1" -v b="$2" -v m="$3" 'BEGIN { print (a > b + m) ? 1 : 0 }'; }

fuse focus "$work/stack" IMG 1 0
check "focus: handed back" "$work/stack/IMG_1-IMG_3.jpg	1" "$(cat "$work/out")"
check "focus: the list showed the focus stack" 1 "$(grep -c 'Art der Reihe: Fokusreihe (Schärfentiefe erweitern)' "$work/focus.before")"
check "focus: the choice stays in the settings" 1 "$(tr -d '\r' <"$settings" | grep -c '<c Attr="FusionMode" Type="int">1</c>')"
cp "$work/stack/IMG_1-IMG_3.jpg" "$work/focus.jpg"
focus=$(psnr "$work/sharp.png" "$work/focus.jpg")
direct=$(psnr "$work/sharp.png" "$work/direct.jpg")
fuse exposure "$work/stack" IMG 0 0
check "exposure: handed back" "$work/stack/IMG_1-IMG_3.jpg	1" "$(cat "$work/out")"
check "exposure: no entry for the default" 0 "$(tr -d '\r' <"$settings" | grep -c 'FusionMode')"
exposure=$(psnr "$work/sharp.png" "$work/stack/IMG_1-IMG_3.jpg")
echo "PSNR against the sharp photo: focus stack $focus dB, enfuse directly $direct dB, exposure series $exposure dB"
check "focus: within 0.5 dB of enfuse run directly" 1 \
    "$(awk -v a="$focus" -v b="$direct" 'BEGIN { d = a - b; print (d <= 0.5 && d >= -0.5) ? 1 : 0 }')"
check "focus: clearly sharper than the exposure series" 1 "$(at_least "$focus" "$exposure" 3)"

# The magnified set: aligned (TIFF, whose page offset says where its crop lies in the first
# frame) and unaligned, both compared with the sharp photo over the aligned result's area.
fuse aligned "$work/zoom" ZOOM 1 1 "$work/zoom/aligned.tif"
check "aligned: handed back" "$work/zoom/aligned.tif	1" "$(cat "$work/out")"
check "aligned: the alignment ran" 0 "$(grep -c 'nicht ausgerichtet' "$work/aligned.screen")"
fuse unaligned "$work/zoom" ZOOM 1 0 "$work/zoom/unaligned.tif"
check "unaligned: handed back" "$work/zoom/unaligned.tif	1" "$(cat "$work/out")"
read -r aw ah ax ay <<<"$(identify -format '%w %h %X %Y' "$work/zoom/aligned.tif")"
area="${aw}x$ah+${ax#+}+${ay#+}"
convert "$work/sharp.png" -crop "$area" +repage "$work/sharp_area.png"
convert "$work/zoom/unaligned.tif" -crop "$area" +repage "$work/unaligned_area.png"
convert "$work/zoom/aligned.tif" +repage "$work/aligned_area.png"
aligned=$(psnr "$work/sharp_area.png" "$work/aligned_area.png")
unaligned=$(psnr "$work/sharp_area.png" "$work/unaligned_area.png")
echo "PSNR against the sharp photo over $area with magnification steps: aligned $aligned dB, unaligned $unaligned dB"
check "aligned: clearly closer than unaligned" 1 "$(at_least "$aligned" "$unaligned" 5)"
check "nothing left in the temporary folder" "" "$(ls -A "$work/tmp")"
[ $failed = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failed
