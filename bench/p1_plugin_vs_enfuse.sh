#!/usr/bin/env bash
# P1: the whole fusion through the plug-in (lvphost run, the terminal dialog driven by keys in a
# tmux pane) against the same enfuse command run directly; three ~12 MP images, best of 5 each.
# Usage: bench/p1_plugin_vs_enfuse.sh [BUILD_DIR]   (default build/bench if built, else build/linux)
# The series is the one scripts/demo makes (run it once first).
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-}
[ -n "$build" ] || { [ -x build/bench/host/lvphost ] && build=build/bench || build=build/linux; }
series=$root/build/demo/4384x2740
imgs=("$series/IMG_0001.jpg" "$series/IMG_0002.jpg" "$series/IMG_0003.jpg")
for f in "${imgs[@]}"; do [ -f "$f" ] || { echo "missing $f: run scripts/demo first" >&2; exit 1; }; done
work=$(mktemp -d)
sock=$work/sock
trap 'tmux -S "$sock" kill-server 2>/dev/null; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

# Both Enter presses are typed at once: the second waits in the terminal until the run is over,
# so no polling adds to the time.
plugin_once() {
    rm -f "$work/t" "$series/IMG_0001-IMG_0003.jpg"
    cat >"$work/run.sh" <<RUN
s=\$(date +%s.%N)
'$root/$build/host/lvphost' run '$root/$build/plugin/lvp_hdr.so' ${imgs[*]} >/dev/null 2>&1
e=\$(date +%s.%N)
echo "\$s \$e" >'$work/t'
RUN
    tmux -S "$sock" -f /dev/null new-session -d -x 100 -y 30 "sh '$work/run.sh'; sleep 5"
    tmux -S "$sock" send-keys Enter Enter
    while [ ! -s "$work/t" ]; do sleep 0.05; done
    tmux -S "$sock" kill-server 2>/dev/null
    awk '{ printf "%.3f\n", $2 - $1 }' "$work/t"
}
direct_once() {
    local s e
    s=$(date +%s.%N)
    enfuse -o "$work/direct.jpg" --compression=95 "${imgs[@]}" >/dev/null 2>&1
    e=$(date +%s.%N)
    awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f\n", e - s }'
}
best() { sort -g | head -n 1; }
p=$(for _ in 1 2 3 4 5; do plugin_once; done | best)
d=$(for _ in 1 2 3 4 5; do direct_once; done | best)
echo "P1 build: $build"
echo "P1 through the plug-in: ${p} s (best of 5)"
echo "P1 enfuse directly:     ${d} s (best of 5)"
awk -v p="$p" -v d="$d" 'BEGIN { printf "P1 ratio: %.3f\n", p / d }'
