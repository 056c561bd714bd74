#!/usr/bin/env bash
# A shoot of four brackets of three ~12 MP photos (-2, 0, +2 EV, dated by exiftool) fused each into
# its own image through the plug-in (lvphost run, the terminal dialog driven by keys in a tmux
# pane) against the same four enfuse commands run one after another; best of 3 each. Once on one
# core (taskset: the plug-in then runs one bracket at a time) and once on all cores (brackets side
# by side where the memory allows), with the peak memory of the enfuse processes at any moment;
# and the same four run by the shell two at a time, the most that side by side can give here.
# Usage: bench/batch_plugin_vs_enfuse.sh [BUILD_DIR]   (default build/bench if built, else build/linux)
# Environment: LVP_BENCH_SIZE=WxH (default 4384x2740), LVP_BENCH_RUNS (default 3).
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-}
[ -n "$build" ] || { [ -x build/bench/host/lvphost ] && build=build/bench || build=build/linux; }
size=${LVP_BENCH_SIZE:-4384x2740}
runs=${LVP_BENCH_RUNS:-3}
for p in tmux enfuse convert exiftool taskset; do
    command -v $p >/dev/null || { echo "$p is not installed" >&2; exit 1; }
done
shoot=$root/build/bench-batch/$size
mkdir -p "$shoot"
photos=() outputs=()
n=0
for b in 1 2 3 4; do
    wallpaper=$(ls /usr/share/wallpapers/*/contents/images/2560x1600.jpg | sed -n "${b}p")
    first=$((n + 1))
    k=0
    for factor in 0.25 1 4; do
        n=$((n + 1)) k=$((k + 1))
        name=$(printf 'IMG_%04d.jpg' $n)
        photos+=("$shoot/$name")
        [ -f "$shoot/$name" ] && continue
        echo "== making $name" >&2
        convert "$wallpaper" -resize "${size}!" -colorspace RGB -evaluate multiply $factor -colorspace sRGB -strip \
            -quality 95 "$shoot/$name.part.jpg" &&
            exiftool -q -overwrite_original -Make=Lumivant -Model=LV-1 "-DateTimeOriginal=2026:05:01 10:0$b:0$k" \
                "$shoot/$name.part.jpg" && mv "$shoot/$name.part.jpg" "$shoot/$name" || exit 1
    done
    outputs+=("$shoot/$(printf 'IMG_%04d-IMG_%04d.jpg' $first $n)")
done
work=$(mktemp -d)
mkdir -p "$work/home/.config/Lumivant"
. tests/helpers/tmux_pane.sh
. bench/dialog_run.sh
trap 'tmux_ kill-server 2>/dev/null; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<Document>\r\n <Settings>\r\n  <c Attr="EnfusePath" Type="string">/usr/bin/enfuse</c>\r\n  <c Attr="AlignImages" Type="int">0</c>\r\n </Settings>\r\n</Document>\r\n' \
    >"$work/home/.config/Lumivant/lvp_hdr.xml"

# The peak of the summed resident size of all enfuse processes, sampled every 50 ms, in MB.
sample_memory() {
    local peak=0 now
    while [ ! -f "$work/stop-sampling" ]; do
        now=$(ps -C enfuse -o rss= | awk '{ s += $1 } END { print s + 0 }')
        [ "$now" -gt "$peak" ] && peak=$now
        sleep 0.05
    done
    echo $((peak / 1024)) >"$work/peak"
}
with_memory() { # COMMAND...: runs it; the peak goes to $work/peak
    rm -f "$work/stop-sampling" "$work/peak"
    sample_memory &
    local sampler=$! status
    "$@"
    status=$?
    touch "$work/stop-sampling"
    wait $sampler
    return $status
}
plugin_once() { # CPUS
    cat >"$work/run.sh" <<RUN
HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' taskset -c $1 '$root/$build/host/lvphost' run \
    '$root/$build/plugin/lvp_hdr.so' ${photos[*]} >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
    dialog_fuse 'Reihen erkannt' "${outputs[@]}" >"$work/elapsed" || exit 1
    cat "$work/elapsed"
}
direct_once() { # CPUS
    local s e i
    s=$(date +%s.%N)
    for i in 0 1 2 3; do
        taskset -c "$1" enfuse -o "$work/direct$i.jpg" --compression=95 "${photos[@]:$((i * 3)):3}" >/dev/null 2>&1
    done
    e=$(date +%s.%N)
    awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f\n", e - s }'
}
best() { sort -g | head -n 1; }
# The times without the memory sampler (its ps calls would compete with enfuse), then one more
# run of each with it for the peak.
measure() { # LABEL CPUS
    local p d peakp peakd
    p=$(for _ in $(seq 1 "$runs"); do plugin_once "$2"; done | best)
    d=$(for _ in $(seq 1 "$runs"); do direct_once "$2"; done | best)
    with_memory plugin_once "$2" >/dev/null && peakp=$(cat "$work/peak")
    with_memory direct_once "$2" >/dev/null && peakd=$(cat "$work/peak")
    echo "batch $1: through the plug-in ${p} s, enfuse one after another ${d} s (best of $runs)"
    echo "batch $1: peak memory of enfuse: ${peakp} MB through the plug-in, ${peakd} MB one after another"
    awk -v p="$p" -v d="$d" -v l="$1" 'BEGIN { printf "batch %s: ratio %.3f\n", l, p / d }'
}
pairs_once() { # two at a time by the shell
    local s e i
    s=$(date +%s.%N)
    for i in 0 2; do
        enfuse -o "$work/direct$i.jpg" --compression=95 "${photos[@]:$((i * 3)):3}" >/dev/null 2>&1 &
        enfuse -o "$work/direct$((i + 1)).jpg" --compression=95 "${photos[@]:$((i * 3 + 3)):3}" >/dev/null 2>&1
        wait
    done
    e=$(date +%s.%N)
    awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f\n", e - s }'
}
all=$(seq -s, 0 $(($(nproc) - 1)))
echo "batch build: $build, four brackets of three $size photos"
measure "one core" 0
measure "$(nproc) cores" "$all"
pairs=$(for _ in $(seq 1 "$runs"); do pairs_once; done | best)
echo "batch $(nproc) cores: enfuse two at a time by the shell ${pairs} s (best of $runs)"
