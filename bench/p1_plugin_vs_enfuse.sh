#!/usr/bin/env bash
# P1: the whole fusion through the plug-in (lvphost run, the terminal dialog driven by keys in a
# tmux pane) against the same enfuse command run directly; three ~12 MP images. In the bench
# build the run is also timed with its progress switched off (no bar, no reading of the tools'
# lines for it). The three kinds of run take turns, so that a busy moment of the machine falls on
# all of them; best of LVP_P1_RUNS (default 7) each.
# Usage: bench/p1_plugin_vs_enfuse.sh [BUILD_DIR]   (default build/bench if built, else build/linux)
# The series is the one scripts/demo makes (run it once first).
set -u
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
build=${1:-}
[ -n "$build" ] || { [ -x build/bench/host/lvphost ] && build=build/bench || build=build/linux; }
series=$root/build/demo/4384x2740
imgs=("$series/IMG_0001.jpg" "$series/IMG_0002.jpg" "$series/IMG_0003.jpg")
for f in "${imgs[@]}"; do [ -f "$f" ] || { echo "missing $f: run scripts/demo first" >&2; exit 1; }; done
work=$(mktemp -d)
# Settings of its own: Debian's enfuse, and no alignment (align_image_stack beside enfuse would
# have the box checked, and the run would align first).
mkdir -p "$work/home/.config/Lumivant"
printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<Document>\r\n <Settings>\r\n  <c Attr="EnfusePath" Type="string">/usr/bin/enfuse</c>\r\n  <c Attr="AlignImages" Type="int">0</c>\r\n </Settings>\r\n</Document>\r\n' \
    >"$work/home/.config/Lumivant/lvp_hdr.xml"
. tests/helpers/tmux_pane.sh
. bench/dialog_run.sh
trap 'tmux_ kill-server 2>/dev/null; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

# From the Enter that presses OK (typed once the dialog is drawn) to the moment the result is
# moved into place (its change time): the script's looks at the screen add nothing to it.
plugin_once() { # [ENV=VALUE]: the progress switch
    cat >"$work/run.sh" <<RUN
$1 HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' '$root/$build/host/lvphost' run '$root/$build/plugin/lvp_hdr.so' ${imgs[*]} >'$work/out' 2>'$work/err' &
echo \$! >'$work/pid'
wait \$!
echo \$? >'$work/rc'
exec sleep 300
RUN
    dialog_fuse 'Abbrechen' "$series/IMG_0001-IMG_0003.jpg" || exit 1
}
# The processor time of the module's process itself (the dialog, the pane, the reading of the
# tools' lines, the bar) and of the tools it waited for, read while the finished dialog stands:
# the machine's other load does not change these as it changes the wall clock.
cpu_file=
dialog_finished() {
    [ -n "$cpu_file" ] || return 0
    awk -v t="$(getconf CLK_TCK)" '{ sub(/.*\) /, ""); split($0, f, " ")
        printf "%.2f %.2f\n", (f[12] + f[13]) / t, (f[14] + f[15]) / t }' "/proc/$(cat "$work/pid")/stat" >>"$cpu_file"
}
direct_once() {
    local s e
    local TIMEFORMAT='%U %S'
    s=$(date +%s.%N)
    { time enfuse -o "$work/direct.jpg" --compression=95 "${imgs[@]}" >/dev/null 2>&1; } 2>&1 |
        awk '{ printf "0 %.2f\n", $1 + $2 }' >>"$work/direct.cpu"
    e=$(date +%s.%N)
    awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f\n", e - s }'
}
# Only the bench build has the switch; elsewhere the run without the bar is not timed.
nobar=
[ "$(grep -s '^LVP_BENCH:' "$build/CMakeCache.txt" | cut -d= -f2)" = ON ] && nobar=LVP_BENCH_NO_PROGRESS=1
runs=${LVP_P1_RUNS:-7}
for f in bar nobar direct bar.cpu nobar.cpu direct.cpu; do : >"$work/$f"; done
for _ in $(seq "$runs"); do
    cpu_file=$work/bar.cpu plugin_once "" >>"$work/bar"
    [ -n "$nobar" ] && cpu_file=$work/nobar.cpu plugin_once "$nobar" >>"$work/nobar"
    direct_once >>"$work/direct"
done
best() { sort -g "$1" | head -n 1; }
p=$(best "$work/bar") d=$(best "$work/direct")
echo "P1 build: $build"
echo "P1 through the plug-in: ${p} s (best of $runs; all: $(sort -g "$work/bar" | tr '\n' ' '))"
if [ -n "$nobar" ]; then
    n=$(best "$work/nobar")
    echo "P1 without progress:    ${n} s (best of $runs; all: $(sort -g "$work/nobar" | tr '\n' ' '))"
fi
echo "P1 enfuse directly:     ${d} s (best of $runs; all: $(sort -g "$work/direct" | tr '\n' ' '))"
awk -v p="$p" -v d="$d" 'BEGIN { printf "P1 ratio: %.3f\n", p / d }'
[ -n "$nobar" ] && awk -v p="$p" -v n="$n" -v d="$d" \
    'BEGIN { printf "P1 ratio without progress: %.3f; with the bar against without: %.3f\n", n / d, p / n }'
# Processor seconds, the mean over the runs: the module's own, and the tools'.
cpu() { awk '{ s += $1; c += $2; n++ } END { if (n) printf "%.3f s own, %.2f s the tools'"'"' (mean of %d)", s / n, c / n, n }' "$1"; }
echo "P1 processor time with the bar:     $(cpu "$work/bar.cpu")"
[ -n "$nobar" ] && echo "P1 processor time without progress: $(cpu "$work/nobar.cpu")"
echo "P1 processor time of enfuse directly: $(cpu "$work/direct.cpu")"
exit 0
