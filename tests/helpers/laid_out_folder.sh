# The shell side of tests/support/laid_out_folder.h, sourced by the shell tests: a folder that a
# test lays out in a Wine prefix (C:\Program Files\Hugin), with a mark file that says it is the
# test's. A folder of that name without the mark is someone else's and stays untouched.
layout_mark=lvp_test_layout.txt
# lay_out_folder DIR: makes DIR with the mark, after removing what a killed run left there; fails
# when DIR is there and not the test's, or its parent is missing.
lay_out_folder() {
    take_away_folder "$1"
    mkdir "$1" 2>/dev/null && echo "Laid out by a test of lvp_hdr, removed when the test ends." >"$1/$layout_mark"
}
# take_away_folder DIR: removes DIR if it is the test's.
take_away_folder() {
    if [ -f "$1/$layout_mark" ]; then rm -rf "$1"; fi
    return 0
}
