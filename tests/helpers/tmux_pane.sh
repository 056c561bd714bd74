# The tmux pane of a terminal test: sourced after $work is set; the program in the pane writes
# its exit status to $work/rc and its output to $work/out and $work/err.
sock=$work/sock
tmux_() { tmux -S "$sock" -f /dev/null "$@"; }
trap 'tmux_ kill-server 2>/dev/null' EXIT
# wait_for TEXT SECONDS: until the pane shows TEXT; else (or when the program ends first) the
# screen and the program's output, and the test fails.
wait_for() {
    for _ in $(seq 1 $(($2 * 10))); do
        tmux_ capture-pane -p | grep -qF "$1" && return 0
        [ -f "$work/rc" ] && break
        sleep 0.1
    done
    echo "not on the screen: $1"; tmux_ capture-pane -p; cat "$work/out" "$work/err"; exit 1
}
# wait_for_end SECONDS: until the program has written its exit status.
wait_for_end() {
    for _ in $(seq 1 $(($1 * 10))); do
        [ -f "$work/rc" ] && return 0
        sleep 0.1
    done
    echo "the program did not end"; tmux_ capture-pane -p; exit 1
}
