#!/usr/bin/env bash
# The phases of an aligned fusion as the progress display weighs them, timed from the tools' own
# lines: align_image_stack's photo pairs, its optimiser and its remapping, enfuse's loads and the
# silent blending after them, the latter also on the photos themselves (unaligned). Prints each
# phase's seconds, the costs per pair, per megapixel and photo, the blending against the loads,
# and each phase's share of the bracket.
# Usage: bench/progress_phases.sh [SERIES_DIR] [RUNS]   (default build/demo/4384x2740, 3 runs;
# the series is the one scripts/demo makes: its IMG_*.jpg, three or more of one size)
set -u
cd "$(dirname "$0")/.." || exit 1
series=${1:-build/demo/4384x2740}
runs=${2:-3}
mapfile -t imgs < <(ls "$series"/IMG_[0-9][0-9][0-9][0-9].jpg 2>/dev/null)
[ "${#imgs[@]}" -ge 2 ] || { echo "no series in $series: run scripts/demo first" >&2; exit 1; }
mp=$(identify -format '%w %h\n' "${imgs[0]}" | awk 'NR == 1 { printf "%.2f", $1 * $2 / 1e6 }')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each line the command prints (both streams, line-buffered as far as the tool allows), with the
# seconds since its start in front.
stamped() {
    local start
    start=$(date +%s.%N)
    stdbuf -oL -eL "$@" 2>&1 | while IFS= read -r line; do
        printf '%s %s\n' "$(date +%s.%N)" "$line"
    done | awk -v s="$start" '{ t = $1; $1 = ""; printf "%.3f%s\n", t - s, $0 }'
    printf '%.3f END\n' "$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { print e - s }')"
}

for run in $(seq "$runs"); do
    stamped align_image_stack -v -a "$work/aligned" -C "${imgs[@]}" >"$work/align.$run"
    stamped enfuse -o "$work/out.jpg" --compression=95 "$work"/aligned*.tif >"$work/fuse.$run"
    rm -f "$work"/aligned*.tif "$work/out.jpg"
    stamped enfuse -o "$work/out.jpg" --compression=95 "${imgs[@]}" >"$work/photos.$run"
    rm -f "$work/out.jpg"
done

# An enfuse run's loads and its blending after them, in seconds, and when it ended: the loads
# took as long each as the first ones did; the blending follows the last.
enfuse_phases() {
    awk -v n="$n" '
        /info: loading next image: / { if (!loads) first = $1; last = $1; loads++ }
        / END$/ { end = $1 }
        END {
            perLoad = loads > 1 ? (last - first) / (loads - 1) : 0
            printf "%.3f %.3f %.3f\n", perLoad * n, end - (last + perLoad), end
        }' "$1"
}

n=${#imgs[@]}
for run in $(seq "$runs"); do
    read -r tLoad tBlend fend < <(enfuse_phases "$work/fuse.$run")
    awk -v n="$n" -v mp="$mp" -v tLoad="$tLoad" -v tBlend="$tBlend" -v fend="$fend" '
        / Creating control points between / && !pairs { pairs = $1 }
        / Optimizing Variables/ && !opt { opt = $1 }
        / (loading|remapping|saving) / && !remap { remap = $1 }
        / END$/ { aend = $1 }
        END {
            tPairs = opt - pairs; tOpt = remap - opt; tRemap = aend - remap
            total = aend + fend
            printf "run: pairs %.2f s (%.2f per pair), optimiser %.2f s, remapping %.2f s (%.3f per MP and photo),", tPairs, tPairs / (n - 1), tOpt, tRemap, tRemap / (mp * n)
            printf " loads %.2f s (%.3f per MP and photo), blending %.2f s (%.2f x the loads); start-up and rest %.2f s\n", tLoad, tLoad / (mp * n), tBlend, tBlend / tLoad, total - tPairs - tOpt - tRemap - tLoad - tBlend
            printf "     shares of %.2f s: pairs %.0f %%, optimiser %.0f %%, remapping %.0f %%, loads %.0f %%, blending %.0f %%\n", total, 100 * tPairs / total, 100 * tOpt / total, 100 * tRemap / total, 100 * tLoad / total, 100 * tBlend / total
        }' "$work/align.$run"
    # Unaligned, enfuse reads the photos themselves.
    read -r tLoad tBlend fend < <(enfuse_phases "$work/photos.$run")
    awk -v n="$n" -v mp="$mp" -v tLoad="$tLoad" -v tBlend="$tBlend" -v fend="$fend" 'BEGIN {
        printf "     unaligned: loads %.2f s (%.3f per MP and photo), blending %.2f s (%.2f x the loads), in all %.2f s\n", tLoad, tLoad / (mp * n), tBlend, tBlend / tLoad, fend
    }'
done
echo "series: $n photos of $mp MP in $series"
