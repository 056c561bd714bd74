#!/usr/bin/env bash
# The aligned fusion through the plug-in (lvphost run, the terminal dialog driven by keys in a
# tmux pane, the box checked) against align_image_stack and enfuse run directly one after the
# other on the same hand-held series (made from a real photo: frames 2 and 3 moved and turned);
# at 12 MP and 2 MP, best of N runs each, the ratio of the two (goal: at most 1.02), in elapsed
# time (the plug-in's from OK to the result in place) and in processor time (user + system of the host or shell and every program it waited
# for: the figure a loaded machine leaves honest, where the elapsed time depends on what else runs).
# Usage: bench/align_plugin_vs_tools.sh [BUILD_DIR] [RUNS]   (default build/bench if built, else build/linux; 3);
# LVP_BENCH_SIZES="1792x1120" measures only the sizes given.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-}
[ -n "$build" ] || { [ -x build/bench/host/lvphost ] && build=build/bench || build=build/linux; }
runs=${2:-3}
photo=/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg
work=$(mktemp -d)
. tests/helpers/tmux_pane.sh
. bench/dialog_run.sh
trap 'tmux_ kill-server 2>/dev/null; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 XDG_CONFIG_HOME=$work/config # the default settings: the box checked
mkdir -p "$XDG_CONFIG_HOME"

make_series() { # WxH -> folder with IMG_1..3.jpg
    local size=$1 dir=$work/$1 w=${1%x*} h=${1#*x}
    mkdir -p "$dir"
    convert "$photo" -resize "$((w * 11 / 10))x$((h * 11 / 10))!" "$dir/base.png"
    local cx=$((w * 11 / 20)) cy=$((h * 11 / 20))
    for spec in "1 0 0 0 0.25" "2 12 8 0.4 1" "3 -10 6 -0.3 4"; do
        set -- $spec
        convert "$dir/base.png" -virtual-pixel edge -distort SRT "$cx,$cy 1 $4 $((cx + $2)),$((cy + $3))" \
            -gravity center -crop "${size}+0+0" +repage -colorspace RGB -evaluate multiply "$5" -colorspace sRGB \
            -quality 95 "$dir/IMG_$1.jpg"
    done
    rm "$dir/base.png"
    echo "$dir"
}
# The plug-in's elapsed time runs from the Enter that presses OK (typed once the dialog is drawn)
# to the moment the result is moved into place (its change time), so that the script's looks at
# the screen add nothing to it; the processor time is the host's and everything it waited for.
plugin_once() { # folder
    local dir=$1 elapsed
    rm -f "$work/t"
    cat >"$work/run.sh" <<RUN
cd '$dir'
/usr/bin/time -o '$work/t' -f '%e %U %S' '$root/$build/host/lvphost' run '$root/$build/plugin/lvp_hdr.so' \
    '$dir/IMG_1.jpg' '$dir/IMG_2.jpg' '$dir/IMG_3.jpg' >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
    elapsed=$(dialog_fuse '[x] Bilder vor dem Zusammenführen ausrichten' "$dir/IMG_1-IMG_3.jpg") || exit 1
    awk -v e="$elapsed" '{ printf "%.3f %.3f\n", e, $2 + $3 }' "$work/t"
}
direct_once() { # folder
    local dir=$1
    rm -rf "$work/direct" && mkdir -p "$work/direct"
    /usr/bin/time -o "$work/t" -f '%e %U %S' sh -c "cd '$work/direct' &&
        align_image_stack -v -a '$work/direct/aligned' -C '$dir/IMG_1.jpg' '$dir/IMG_2.jpg' '$dir/IMG_3.jpg' &&
        enfuse -o '$work/direct/fused.jpg' --compression=95 aligned0000.tif aligned0001.tif aligned0002.tif" >/dev/null 2>&1
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/t"
}
# "elapsed cpu" lines -> the best of each
best() { sort -g -k1,1 | head -n 1 | cut -d' ' -f1; }
best_cpu() { sort -g -k2,2 | head -n 1 | cut -d' ' -f2; }
echo "build: $build, best of $runs"
for size in ${LVP_BENCH_SIZES:-4384x2740 1792x1120}; do
    dir=$(make_series "$size")
    # Taken in turns, so that a change in the machine's load meets both alike.
    : >"$work/p" && : >"$work/d"
    for _ in $(seq "$runs"); do
        plugin_once "$dir" >>"$work/p"
        direct_once "$dir" >>"$work/d"
    done
    p=$(best <"$work/p") d=$(best <"$work/d") pc=$(best_cpu <"$work/p") dc=$(best_cpu <"$work/d")
    echo "$size through the plug-in: $p s ($pc s processor); align_image_stack + enfuse directly: $d s ($dc s processor)"
    awk -v s="$size" -v p="$p" -v d="$d" -v pc="$pc" -v dc="$dc" \
        'BEGIN { printf "%s ratio: %.3f elapsed, %.3f processor\n", s, p / d, pc / dc }'
done
