#!/usr/bin/env bash
# The terminal's status line while a 12-megapixel series of three is aligned and fused with
# Debian's align_image_stack and enfuse: its percentage, read from the screen as the run goes,
# rises through several values and never falls, and ends at 100 % with the run fused.
# Usage: progress_e2e_test.sh TERMINAL_DIALOG_RUN WORK_DIR [SIZE]   (SIZE default 4384x2740)
set -u
here=$(cd "$(dirname "$0")" && pwd)
run=$1 work=$2 size=${3:-4384x2740}
for p in tmux align_image_stack enfuse convert; do
    command -v $p >/dev/null || { echo "$p is not installed"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/series" && work=$(cd "$work" && pwd)
photo=/usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg
factors=(0.25 1 4)
for i in 0 1 2; do
    convert "$photo" -resize "${size}!" -colorspace RGB -evaluate multiply "${factors[$i]}" -colorspace sRGB \
        -strip -quality 95 "$work/series/p$i.jpg" || exit 1
done

. "$here/../../helpers/tmux_pane.sh"
cat >"$work/run.sh" <<RUN
cd '$work/series'
'$run' /usr/bin/enfuse '$work/series/fused.tif' 95 '$work/series/p0.jpg' '$work/series/p1.jpg' \
    '$work/series/p2.jpg' >'$work/out' 2>'$work/err'
echo \$? >'$work/rc'
exec sleep 300
RUN
tmux_ new-session -d -x 100 -y 30 "env LANG=C.UTF-8 sh '$work/run.sh'"
wait_for '[x] Bilder vor dem Zusammenführen ausrichten' 60
start=$(date +%s)
tmux_ send-keys Enter
# The percentages as the screen shows them, each new one once, until the run has ended.
seen=()
while :; do
    screen=$(tmux_ capture-pane -p)
    percent=$(printf '%s\n' "$screen" | sed -n 's/.*\] *\([0-9]\{1,3\}\) %.*/\1/p' | head -n 1)
    if [ -n "$percent" ] && { [ ${#seen[@]} = 0 ] || [ "${seen[-1]}" != "$percent" ]; }; then
        seen+=("$percent")
        # A picture of the status line about half way, for people to look at.
        [ "$percent" -ge 40 ] && [ ! -f "$work/screen_half.txt" ] && printf '%s\n' "$screen" >"$work/screen_half.txt"
    fi
    printf '%s\n' "$screen" | grep -qF 'Klicken Sie auf "OK"' && break
    [ $(($(date +%s) - start)) -gt 120 ] && { echo "the run did not end"; printf '%s\n' "$screen"; exit 1; }
    sleep 0.2
done
printf '%s\n' "$screen" >"$work/screen_end.txt"
tmux_ send-keys Enter
wait_for_end 30
echo "percentages seen: ${seen[*]} in $(($(date +%s) - start)) s"
fail=0
grep -q '^outcome 0$' "$work/out" || { echo "not fused:"; cat "$work/out"; fail=1; }
[ "${#seen[@]}" -ge 4 ] || { echo "fewer than four values"; fail=1; }
prev=-1
for p in "${seen[@]}"; do
    [ "$p" -ge "$prev" ] || { echo "the percentage fell from $prev to $p"; fail=1; }
    prev=$p
done
[ "${seen[-1]}" = 100 ] || { echo "it did not end at 100 %"; fail=1; }
grep -qE '\] 100 %  [0-9]+:[0-9]{2}' "$work/screen_end.txt" || { echo "no end status:"; cat "$work/screen_end.txt"; fail=1; }
[ $fail = 0 ] || exit 1
echo "1 passed, 0 failed"
