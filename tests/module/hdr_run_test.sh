#!/usr/bin/env bash
# lvphost.exe runs the real command under Wine with a fake enfuse.exe in its current folder,
# while hdr_driver.exe (a second Windows process) works the dialog as a user would.
# Usage: hdr_run_test.sh HOST_EXE MODULE DRIVER_EXE FAKE_TOOL STRINGS WORK_DIR
set -u
abs() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
host=$(abs "$1") module=$(abs "$2") driver=$(abs "$3") fake=$(abs "$4") strings=$(abs "$5") work=$6
mkdir -p "$work"
work=$(cd "$work" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
run=${LVP_WINE_RUN:-$here/scripts/wine-run}
win() { local p=$1; echo "Z:${p//\//\\}"; }
prefix=${WINEPREFIX:-$here/build/windows/wineprefix}
. "$here/tests/helpers/check.sh"
. "$here/tests/helpers/laid_out_folder.sh"
text_of() { grep -P "^$1\t" "$strings" | cut -f3 | sed 's/\\"/"/g'; }
clean_settings() { rm -rf "$prefix"/drive_c/users/*/AppData/Roaming/Lumivant; }
settings_file() { cat "$prefix"/drive_c/users/*/AppData/Roaming/Lumivant/lvp_hdr.xml 2>/dev/null | tr -d '\r'; }

# The Hugin folder that one case lays out in the prefix and the settings go on every way out,
# and what a killed run left goes before the first case (where the other cases would find it).
hugin="$prefix/drive_c/Program Files/Hugin"
take_away_folder "$hugin"
trap 'take_away_folder "$hugin"; clean_settings' EXIT

# One run: case name, driver mode and arguments, then the files (made empty in the case's folder
# unless photos_missing is set); leaves host.out, host.rc, driver.out and args.txt in $work/NAME.
# With_align set: align_image_stack.exe lies beside enfuse.exe; no_local_enfuse set: no enfuse.exe
# in the current folder. Photos set: the files of that folder are copied into the case's folder
# first.
run_case() {
    local name=$1 mode=$2 quality=$3
    shift 3
    local dir=$work/$name
    rm -rf "$dir"
    mkdir -p "$dir"
    [ -z "${no_local_enfuse:-}" ] && cp "$fake" "$dir/enfuse.exe"
    [ -n "${with_align:-}" ] && cp "$fake" "$dir/align_image_stack.exe"
    [ -n "${photos:-}" ] && cp "$photos"/* "$dir/"
    [ -z "${photos_missing:-}" ] && (cd "$dir" && touch -- "$@")
    clean_settings
    (
        cd "$dir" || exit 1
        export LVP_FAKE_TOOL_ARGS
        LVP_FAKE_TOOL_ARGS=$(win "$dir/args.txt")
        "$run" "$host" run "$(win "$module")" "$@" </dev/null >host.out 2>host.err &
        pid=$!
        "$run" "$driver" "$(win "$module")" "$mode" $quality </dev/null >driver.out 2>&1
        wait $pid
        echo $? >host.rc
    )
    tr -d '\r' <"$dir/host.out" >"$dir/host.txt"
    tr -d '\r' <"$dir/driver.out" >"$dir/driver.txt"
}

# Confirmed: the proposed values, the tool's exact argument vector, the result line, and the
# settings written at unload.
run_case confirm confirm 80 IMG_1.JPG IMG_2.JPG IMG_3.JPG
d=$work/confirm
cwd=$(win "$d")
check "confirm: exit status" 0 "$(cat "$d/host.rc")"
check "confirm: fields as proposed" \
    "program: $cwd\\enfuse.exe
output: $cwd\\IMG_1-IMG_3.JPG
quality: 95" "$(grep -E '^(program|output|quality):' "$d/driver.txt")"
check "confirm: argument vector" \
    "-o
$cwd\\IMG_1-IMG_3.JPG
--compression=80
$cwd\\IMG_1.JPG
$cwd\\IMG_2.JPG
$cwd\\IMG_3.JPG" "$(tr -d '\r' <"$d/args.txt" 2>/dev/null)"
check "confirm: tool output in the pane" 1 "$(grep -c 'enfuse (fake): 6 arguments' "$d/driver.txt")"
check "confirm: result line" "$cwd\\IMG_1-IMG_3.JPG	1" "$(cat "$d/host.txt")"
check "confirm: settings hold the quality and the program" \
    "  <c Attr=\"EnfusePath\" Type=\"string\">$cwd\\enfuse.exe</c>
  <c Attr=\"JpegQuality\" Type=\"int\">80</c>" "$(settings_file | grep -E 'Attr="(JpegQuality|EnfusePath)"' | sort)"

# align_image_stack.exe beside enfuse.exe: the box is checked (no setting yet), the photos are
# aligned in a private temporary folder, enfuse fuses the aligned images in input order, and
# nothing of the run is left; the choice equals the default, so no AlignImages entry.
temp_leftovers() { ls -d "$prefix"/drive_c/users/*/AppData/Local/Temp/lvp_hdr-* "$prefix"/drive_c/users/*/Temp/lvp_hdr-* 2>/dev/null; }
with_align=1 run_case aligned confirm 80 IMG_1.JPG IMG_2.JPG IMG_3.JPG
d=$work/aligned
cwd=$(win "$d")
check "aligned: exit status" 0 "$(cat "$d/host.rc")"
check "aligned: alignment's arguments" \
    "-v
-a
aligned
-C
$cwd\\IMG_1.JPG
$cwd\\IMG_2.JPG
$cwd\\IMG_3.JPG" "$(tr -d '\r' <"$d/args.txt.align" 2>/dev/null | sed -E 's/^.*\\lvp_hdr-[0-9a-f]{8}-[0-9a-f]{16}-run\\aligned$/aligned/')"
check "aligned: enfuse over the aligned images" \
    "-o
$cwd\\IMG_1-IMG_3.JPG
--compression=80
aligned0000.tif
aligned0001.tif
aligned0002.tif" "$(tr -d '\r' <"$d/args.txt" 2>/dev/null | sed -E 's/^.*\\lvp_hdr-[0-9a-f]{8}-[0-9a-f]{16}-run\\(aligned[0-9]+\.tif)$/\1/')"
check "aligned: result line" "$cwd\\IMG_1-IMG_3.JPG	1" "$(cat "$d/host.txt")"
check "aligned: nothing left in the temporary folder" "" "$(temp_leftovers)"
check "aligned: no AlignImages entry (the default)" 0 "$(settings_file | grep -c 'Attr="AlignImages"')"

# The first photo's metadata in the result: a real photo tagged by exiftool, and the fake enfuse
# writing a real small JPEG (16x16, only a JFIF header); the result read by exiftool.
photos=$work/photos
rm -rf "$photos" && mkdir -p "$photos"
wallpaper=$(ls /usr/share/wallpapers/*/contents/images/*.jpg | head -n 1)
convert "$wallpaper" -resize 64x40! -strip "$photos/IMG_1.JPG"
exiftool -q -overwrite_original -Orientation#=6 -Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:20:30' \
    -GPSLatitude=47.5 -GPSLatitudeRef=N -XMP-xmp:Rating=4 -XMP-dc:Subject=Berge -ExifImageWidth=64 -ExifImageHeight=40 \
    "$photos/IMG_1.JPG"
cp "$photos/IMG_1.JPG" "$work/photo.jpg"
LVP_FAKE_TOOL_JPEG=1 run_case metadata confirm 80 IMG_1.JPG IMG_2.JPG
d=$work/metadata
check "metadata: result line" "$(win "$d")\\IMG_1-IMG_2.JPG	1" "$(cat "$d/host.txt")"
check "metadata: no note in the pane" 0 "$(grep -c 'Metadaten' "$d/driver.txt")"
check "metadata: exiftool reads the first photo's" "6|Lumivant|LV-1|2024:05:01 10:20:30|47.5|4|Berge|16 16" \
    "$(exiftool -s3 -n -IFD0:Orientation -IFD0:Make -IFD0:Model -ExifIFD:DateTimeOriginal -GPS:GPSLatitude \
       -XMP-xmp:Rating -XMP-dc:Subject "$d/IMG_1-IMG_2.JPG" | paste -sd '|')|$(exiftool -s3 -n -ExifImageWidth \
       -ExifImageHeight "$d/IMG_1-IMG_2.JPG" | paste -sd ' ')"
check "metadata: the photo is only read" "$(md5sum <"$work/photo.jpg")" "$(md5sum <"$d/IMG_1.JPG")"
# (IMG_2.JPG is an empty file: a photo that does not open would be refused before the dialog.)
check "metadata: nothing else in the folder" "IMG_1-IMG_2.JPG IMG_1.JPG IMG_2.JPG" "$(cd "$d" && ls *.JPG | paste -sd ' ')"

# A shoot of two brackets by their capture times: box 1019 offered and checked, each bracket
# fused into its own output, both results in bracket order; the box collapsed for the run.
shoot=$work/shoot-photos
rm -rf "$shoot" && mkdir -p "$shoot"
for n in 1 2 3 4; do
    convert "$wallpaper" -resize 64x40! -strip "$shoot/IMG_$n.JPG"
done
exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:00:00' "$shoot/IMG_1.JPG"
exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:00:01' "$shoot/IMG_2.JPG"
exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:05:00' "$shoot/IMG_3.JPG"
exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 '-DateTimeOriginal=2024:05:01 10:05:01' "$shoot/IMG_4.JPG"
photos=$shoot LVP_FAKE_TOOL_JPEG=1 run_case shoot confirm 80 IMG_1.JPG IMG_2.JPG IMG_3.JPG IMG_4.JPG
d=$work/shoot
cwd=$(win "$d")
check "shoot: exit status" 0 "$(cat "$d/host.rc")"
check "shoot: the box offered with the count, checked" "each: $(grep -P '^control\t1019\t' "$here/resources/dialog.txt" | cut -f10) (2 Reihen erkannt) | checked | enabled" \
    "$(grep '^each: ' "$d/driver.txt")"
check "shoot: the first bracket's name proposed" "output: $cwd\\IMG_1-IMG_2.JPG" "$(grep '^output:' "$d/driver.txt")"
check "shoot: the box collapsed for the run" "each in the run: disabled | 0x0" "$(grep '^each in the run: ' "$d/driver.txt")"
check "shoot: both results, in bracket order" "$cwd\\IMG_1-IMG_2.JPG	1
$cwd\\IMG_3-IMG_4.JPG	1" "$(cat "$d/host.txt")"
check "shoot: each output has its own first photo's date" "2024:05:01 10:00:00|2024:05:01 10:05:00" \
    "$(for o in IMG_1-IMG_2 IMG_3-IMG_4; do exiftool -s3 -DateTimeOriginal "$d/$o.JPG"; done | paste -sd '|')"

# A first photo whose metadata is damaged: the result is handed back as the program wrote it,
# and one line before message 109 says why.
head -c 100 "$work/photo.jpg" >"$photos/IMG_1.JPG"
LVP_FAKE_TOOL_JPEG=1 run_case damaged confirm 80 IMG_1.JPG IMG_2.JPG
d=$work/damaged
check "damaged photo: result line" "$(win "$d")\\IMG_1-IMG_2.JPG	1" "$(cat "$d/host.txt")"
said=$(text_of 133)
check "damaged photo: the line says why" 1 "$(grep -cF "${said/\%1/$(win "$d")\\IMG_1.JPG}" "$d/driver.txt")"
check "damaged photo: the output as the program wrote it" 171 "$(stat -c %s "$d/IMG_1-IMG_2.JPG")"
unset photos

# Escape in Finished: nothing returned, nothing stored.
run_case escape escape "" IMG_1.JPG IMG_2.JPG IMG_3.JPG
d=$work/escape
check "escape: exit status" 1 "$(cat "$d/host.rc")"
check "escape: dialog reached Finished" 1 "$(grep -c '^pane: ' "$d/driver.txt")"
check "escape: no result" "" "$(cat "$d/host.txt")"
check "escape: nothing stored" 0 "$(settings_file | grep -cE 'Attr="(JpegQuality|EnfusePath)"')"

# One file: message 107, refused.
run_case one_file message "" IMG_1.JPG
d=$work/one_file
check "one file: exit status" 1 "$(cat "$d/host.rc")"
check "one file: message 107" "box: $(text_of 107)" "$(grep '^box: ' "$d/driver.txt")"
check "one file: no dialog, no tool" "" "$(ls "$d/args.txt" 2>/dev/null)"

# Hugin installed where its installer puts it, no enfuse.exe in the current folder: the dialog
# proposes Hugin's enfuse.exe and the first OK runs it (no message 108, no file dialog).
# A Hugin folder of the prefix's own (a real installation) stays as it is, and the case fails.
if lay_out_folder "$hugin"; then
    mkdir "$hugin/bin" && cp "$fake" "$hugin/bin/enfuse.exe"
    no_local_enfuse=1 run_case hugin confirm 80 IMG_1.JPG IMG_2.JPG IMG_3.JPG
    take_away_folder "$hugin"
else
    check "hugin: C:\\Program Files\\Hugin laid out (the prefix holds one of its own)" laid-out taken
fi
d=$work/hugin
cwd=$(win "$d")
check "hugin: exit status" 0 "$(cat "$d/host.rc")"
check "hugin: Hugin's enfuse proposed" "program: C:\\Program Files\\Hugin\\bin\\enfuse.exe" "$(grep '^program:' "$d/driver.txt")"
check "hugin: no box" "" "$(grep '^box:' "$d/driver.txt")"
check "hugin: Hugin's enfuse ran" "-o
$cwd\\IMG_1-IMG_3.JPG
--compression=80
$cwd\\IMG_1.JPG
$cwd\\IMG_2.JPG
$cwd\\IMG_3.JPG" "$(tr -d '\r' <"$d/args.txt" 2>/dev/null)"
check "hugin: result line" "$cwd\\IMG_1-IMG_3.JPG	1" "$(cat "$d/host.txt")"

# A raw file among the photos, or photos that are not there: refused with their names before
# the dialog, nothing runs.
first_line() { text_of "$1" | sed 's/\\n.*//'; }
run_case raw message "" IMG_1.JPG IMG_2.CR2 IMG_3.JPG
d=$work/raw
check "raw: exit status" 1 "$(cat "$d/host.rc")"
check "raw: message 136 names the raw file" "box: $(first_line 136)
IMG_2.CR2" "$(sed -n '/^box: /,+1p' "$d/driver.txt")"
check "raw: no tool" "" "$(ls "$d/args.txt" 2>/dev/null)"
photos_missing=1 run_case missing message "" IMG_1.JPG IMG_2.JPG
d=$work/missing
cwd=$(win "$d")
check "missing: exit status" 1 "$(cat "$d/host.rc")"
check "missing: message 137 names the files" "box: $(first_line 137)
$cwd\\IMG_1.JPG
$cwd\\IMG_2.JPG" "$(sed -n '/^box: /,+2p' "$d/driver.txt")"
check "missing: no tool" "" "$(ls "$d/args.txt" 2>/dev/null)"

clean_settings
exit $failed
