#!/usr/bin/env bash
# scripts/demo end to end in a tmux pane with the real enfuse: Enter runs it, Enter closes the
# dialog; the fused image must have the inputs' size and more usable range than each input.
# Usage: demo_test.sh SOURCE_DIR WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=$1 work=$2
command -v tmux >/dev/null || { echo "tmux is not installed"; exit 1; }
rm -rf "$work" && mkdir -p "$work/home/.config" "$work/tmp"
. "$here/../../helpers/tmux_pane.sh"
# The module writes its settings at unload: into a home of the test's own, not the user's.
cat >"$work/run.sh" <<RUN
export HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' TMPDIR='$work/tmp'
LVP_DEMO_SIZE=1792x1120 LVP_DEMO_DIR='$work/series' '$src/scripts/demo' >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
tmux_ new-session -d -x 100 -y 30 "env LANG=C.UTF-8 sh '$work/run.sh'"
wait_for 'Belichtungsreihen zusammenführen' 600
tmux_ send-keys Enter
wait_for 'Klicken Sie auf "OK"' 300
tmux_ send-keys Enter
for _ in $(seq 1 300); do [ -f "$work/rc" ] && break; sleep 0.1; done
rc=$(cat "$work/rc" 2>/dev/null || echo none)
[ "$rc" = 0 ] || { echo "demo ended with $rc"; cat "$work/out" "$work/err"; exit 1; }
fused=$work/series/IMG_0001-IMG_0003.jpg
grep -qxF "Fused image: $fused" "$work/out" || { echo "no result line"; cat "$work/out"; exit 1; }

measure() { # file -> "width height usable clipped shadow"
    convert "$1" -colorspace Gray -format '%w %h ' -write info: \
        \( +clone -fx 'u>0.02&&u<0.98' -format '%[fx:mean] ' -write info: +delete \) \
        \( +clone -threshold 98% -format '%[fx:mean] ' -write info: +delete \) \
        -format '%[fx:mean]\n' info: 2>/dev/null
}
read -r w h usable clipped _ <<<"$(measure "$fused")"
echo "fused: ${w}x$h usable $usable clipped $clipped"
fail=0
for i in 1 2 3; do
    read -r iw ih iusable iclipped ishadow <<<"$(measure "$work/series/IMG_000$i.jpg")"
    echo "input $i: ${iw}x$ih usable $iusable clipped $iclipped"
    [ "$iw $ih" = "$w $h" ] || { echo "size differs from input $i"; fail=1; }
    # More of the fused image is neither black nor white than of any single exposure.
    awk -v f="$usable" -v i="$iusable" 'BEGIN { exit !(f > i) }' || { echo "no more usable range than input $i"; fail=1; }
done
# Fewer clipped highlights than the +2 EV exposure, brighter shadows than the -2 EV one.
shadow() { convert "$1" -colorspace Gray \( "$work/series/IMG_0002.jpg" -colorspace Gray -negate -threshold 90% \) \
    -compose multiply -composite -format '%[fx:mean]' info:; }
read -r _ _ _ over _ <<<"$(measure "$work/series/IMG_0003.jpg")"
awk -v f="$clipped" -v o="$over" 'BEGIN { exit !(f < o) }' || { echo "not fewer clipped pixels than +2 EV"; fail=1; }
f_shadow=$(shadow "$fused") u_shadow=$(shadow "$work/series/IMG_0001.jpg")
echo "shadow mean (weighted by the dark mask): fused $f_shadow, -2 EV $u_shadow"
awk -v f="$f_shadow" -v u="$u_shadow" 'BEGIN { exit !(f > u) }' \
    || { echo "shadows not brighter than -2 EV"; fail=1; }
[ $fail = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
