#!/usr/bin/env bash
# Peak resident memory (GNU time's maximum resident set size) of enfuse and align_image_stack over
# brackets of 3 and 5 photos at about 2, 6 and 12 MP, made from a wallpaper with ImageMagick
# (each frame darker and moved a little): the figures behind the constants of
# fusion/brackets_at_once.cpp. Usage: bench/fusion_memory.sh [WORK_DIR]   (default a new temporary folder).
set -u
work=${1:-$(mktemp -d)}
src=$(ls /usr/share/wallpapers/*/contents/images/2560x1600.jpg | head -n 1)
mkdir -p "$work"
peak() { grep 'Maximum resident' "$1" | awk '{print $NF}'; }
printf '%-15s %-10s %6s %12s\n' program size photos peak_kB
for size in 1732x1155 3000x2000 4240x2832; do
    for n in 3 5; do
        d=$work/b_${size}_$n
        mkdir -p "$d"
        files=()
        for i in $(seq 1 "$n"); do
            f=$d/p$i.jpg
            [ -f "$f" ] || convert "$src" -resize "${size}!" -evaluate multiply "0.$((3 + i))" \
                -roll "+$((i * 3))+$((i * 2))" -quality 92 "$f"
            files+=("$f")
        done
        /usr/bin/time -v enfuse -o "$d/out.jpg" --compression=95 "${files[@]}" >"$d/enfuse.log" 2>&1
        printf '%-15s %-10s %6s %12s\n' enfuse "$size" "$n" "$(peak "$d/enfuse.log")"
        /usr/bin/time -v align_image_stack -v -a "$d/aligned" -C "${files[@]}" >"$d/align.log" 2>&1
        printf '%-15s %-10s %6s %12s\n' align_image_stack "$size" "$n" "$(peak "$d/align.log")"
        /usr/bin/time -v enfuse -o "$d/out2.jpg" --compression=95 "$d"/aligned*.tif >"$d/enfuse_al.log" 2>&1
        printf '%-15s %-10s %6s %12s\n' enfuse-aligned "$size" "$n" "$(peak "$d/enfuse_al.log")"
        rm -f "$d"/aligned*.tif
    done
done
