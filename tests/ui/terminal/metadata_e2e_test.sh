#!/usr/bin/env bash
# The whole command on the terminal (lvphost running lvp_hdr.so) with Debian's enfuse, on a
# portrait series made from a real photo: the first photo tagged with exiftool (Orientation 6,
# Make/Model, DateTimeOriginal, GPS, XMP Rating/Subject, a colour profile, a thumbnail); fused
# once without and once with the alignment (align_image_stack, whose crop makes the result
# smaller). exiftool and exiv2 must read the first photo's metadata from each result, the size
# tags must be the result's, the image enfuse's; the photos stay as they were, nothing is left.
# Usage: metadata_e2e_test.sh LVPHOST MODULE WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
host=$1 module=$2 work=$3
for p in tmux enfuse align_image_stack convert identify exiftool exiv2 python3; do
    command -v $p >/dev/null || { echo "$p is not installed"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/series" "$work/tmp" "$work/home/.config/Lumivant"
work=$(cd "$work" && pwd)
. "$here/../../helpers/check.sh"

# Frames 2 and 3 moved and turned a little, as from the hand; -2, 0 and +2 EV.
photo=/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg
cd "$work/series" || exit 1
convert "$photo" -resize 1100x688! "$work/base.png" || exit 1
for spec in "1 0 0 0 0.25" "2 6 4 0.3 1" "3 -5 3 -0.2 4"; do
    set -- $spec
    convert "$work/base.png" -virtual-pixel edge -distort SRT "550,344 1 $4 $((550 + $2)),$((344 + $3))" \
        -gravity center -crop 1000x625+0+0 +repage -colorspace RGB -evaluate multiply "$5" -colorspace sRGB \
        -strip -quality 95 "IMG_$1.jpg" || exit 1
done
python3 "$here/../../metadata/make_icc.py" "$work/profile.icc" || exit 1
convert IMG_2.jpg -resize 160x100 "$work/thumb.jpg" || exit 1
exiftool -q -overwrite_original -Orientation#=6 -Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:20:30' \
    -GPSLatitude=47.5 -GPSLatitudeRef=N -GPSLongitude=11.25 -GPSLongitudeRef=E -XMP-xmp:Rating=4 \
    -XMP-dc:Subject=Berge -ExifImageWidth=1000 -ExifImageHeight=625 "-ICC_Profile<=$work/profile.icc" \
    "-ThumbnailImage<=$work/thumb.jpg" IMG_1.jpg || exit 1
sums=$(md5sum IMG_?.jpg)

. "$here/../../helpers/tmux_pane.sh"
# fuse NAME ALIGN: one run of the command through its dialog (Enter fuses, Enter closes) with the
# settings' AlignImages ALIGN (0 or 1); the screen at the end goes to $work/NAME.screen.
fuse() {
    rm -f "$work/rc" "$work/out" "$work/err" "$work/series/IMG_1-IMG_3.jpg"
    printf '\xef\xbb\xbf<?xml version="1.0" encoding="UTF-8"?>\r\n<Document>\r\n <Author>lvp_hdr</Author>\r\n <Version>1.3</Version>\r\n <Settings>\r\n  <c Attr="EnfusePath" Type="string">/usr/bin/enfuse</c>\r\n  <c Attr="AlignImages" Type="int">%s</c>\r\n </Settings>\r\n</Document>\r\n' \
        "$2" >"$work/home/.config/Lumivant/lvp_hdr.xml"
    cat >"$work/run.sh" <<RUN
cd '$work/series'
HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' TMPDIR='$work/tmp' '$host' run '$module' \
    IMG_1.jpg IMG_2.jpg IMG_3.jpg >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
    # A server of its own for each run: a new session on a server that is still ending fails.
    tmux_ kill-server 2>/dev/null
    sock=$work/sock-$1
    tmux_ new-session -d -x 120 -y 40 "env LANG=C.UTF-8 sh '$work/run.sh'" || { echo "tmux did not start"; exit 1; }
    wait_for 'Belichtungsreihen zusammenführen' 60
    tmux_ send-keys Enter
    wait_for 'Klicken Sie auf "OK"' 600
    tmux_ capture-pane -p >"$work/$1.screen"
    tmux_ send-keys Enter
    for _ in $(seq 1 300); do [ -f "$work/rc" ] && break; sleep 0.1; done
}

tag() { exiftool -s3 -n "-$2" "$1"; }
# checks NAME RESULT: what exiftool and exiv2 read from the result.
checks() {
    local r=$2
    check "$1: handed back" "$work/series/IMG_1-IMG_3.jpg	1" "$(cat "$work/out")"
    check "$1: no note on the metadata" 0 "$(grep -c 'Metadaten' "$work/$1.screen")"
    check "$1: exiftool reads orientation, camera, date, place, rating, keyword, profile" \
        "6|Lumivant|LV-1|2024:05:01 10:20:30|47.5|11.25|4|Berge|Lumivant Test RGB" \
        "$(tag "$r" IFD0:Orientation)|$(tag "$r" IFD0:Make)|$(tag "$r" IFD0:Model)|$(tag "$r" ExifIFD:DateTimeOriginal)|$(tag "$r" GPS:GPSLatitude)|$(tag "$r" GPS:GPSLongitude)|$(tag "$r" XMP-xmp:Rating)|$(tag "$r" XMP-dc:Subject)|$(tag "$r" ICC_Profile:ProfileDescription)"
    check "$1: the size tags are the result's" "$(identify -format '%w %h' "$r")" \
        "$(tag "$r" ExifIFD:ExifImageWidth) $(tag "$r" ExifIFD:ExifImageHeight)"
    check "$1: the thumbnail is dropped, no warning" "" "$(exiftool -s -G1 -a "$r" | grep -E '^\[(IFD1|ExifTool)\]' | grep -v 'ExifToolVersion')"
    local e
    e=$(exiv2 -q -K Exif.Image.Orientation -K Exif.Image.Make -K Exif.Photo.DateTimeOriginal -K Exif.GPSInfo.GPSLatitude \
        -K Xmp.xmp.Rating -K Xmp.dc.subject -Pv "$r" 2>&1)
    check "$1: exiv2 reads them too" "2024:05:01 10:20:30|4|47/1 30/1 0/1|6|Berge|Lumivant" "$(printf '%s\n' "$e" | sort | paste -sd '|')"
    check "$1: the photos stay as they were" "$sums" "$(md5sum IMG_?.jpg)"
    check "$1: nothing else in the folder" "IMG_1-IMG_3.jpg IMG_1.jpg IMG_2.jpg IMG_3.jpg" "$(ls | paste -sd ' ')"
    check "$1: nothing left in the temporary folder" "" "$(ls -A "$work/tmp")"
}

fuse unaligned 0
checks unaligned "$work/series/IMG_1-IMG_3.jpg"
# enfuse's own runs differ a little from one another (about 40 dB PSNR): the result must decode
# and be enfuse's image.
enfuse --compression=95 -o "$work/direct.jpg" IMG_1.jpg IMG_2.jpg IMG_3.jpg >/dev/null 2>&1
psnr=$(compare -metric PSNR "$work/direct.jpg" IMG_1-IMG_3.jpg null: 2>&1)
check "unaligned: enfuse's image (PSNR $psnr dB to enfuse run directly)" 1 \
    "$(awk -v p="$psnr" 'BEGIN { print (p + 0 > 30 || p == "inf") ? 1 : 0 }')"
check "unaligned: the size is the photos'" "1000 625" "$(identify -format '%w %h' IMG_1-IMG_3.jpg)"

fuse aligned 1
check "aligned: the alignment ran" 0 "$(grep -c 'nicht ausgerichtet' "$work/aligned.screen")"
checks aligned "$work/series/IMG_1-IMG_3.jpg"
read -r w h <<<"$(identify -format '%w %h' IMG_1-IMG_3.jpg)"
check "aligned: cropped smaller than the photos" 1 "$([ "$w" -lt 1000 ] && [ "$h" -lt 625 ] && echo 1 || echo 0)"
[ $failed = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failed
