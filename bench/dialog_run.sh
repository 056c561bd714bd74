# shellcheck shell=bash
# Sourced by the bench scripts after tests/helpers/tmux_pane.sh: one fusion through the terminal
# dialog. $work/run.sh runs lvphost (writing $work/out, $work/err and its status to $work/rc).
# dialog_fuse READY_TEXT OUTPUT... starts it in a pane, presses OK once READY_TEXT is drawn and
# closes the dialog after the run; prints the seconds from that Enter to the last output in place
# (the latest change time), so that the script's looks at the screen are not in them. A function
# dialog_finished, where the caller defines one, runs when the run has ended, before the dialog closes.
dialog_fuse() {
    local ready=$1 start output
    shift
    rm -f "$work/rc" "$@"
    tmux_ new-session -d -x 100 -y 30 "sh '$work/run.sh'"
    wait_for "$ready" 60
    start=$(date +%s.%N)
    tmux_ send-keys Enter
    # During the run only the output file is looked for (enfuse writes it at its very end): each
    # look at the screen costs a tmux client and a grep, which the tools compete with.
    for output in "$@"; do
        until [ -e "$output" ] || [ -f "$work/rc" ]; do sleep 0.05; done
    done
    wait_for 'Klicken Sie auf' 600
    # A caller's look at the finished run, while the dialog still stands.
    if declare -F dialog_finished >/dev/null; then dialog_finished; fi
    tmux_ send-keys Enter
    wait_for_end 60
    tmux_ kill-server 2>/dev/null
    for output in "$@"; do
        [ -s "$output" ] || { echo "no fused image through the plug-in: $output" >&2; cat "$work/out" "$work/err" >&2; exit 1; }
    done
    stat -c %.9Z "$@" | sort -g | tail -n 1 | awk -v s="$start" '{ printf "%.3f\n", $1 - s }'
}
