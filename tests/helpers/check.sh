# Sourced by the shell tests: check WHAT EXPECTED ACTUAL prints "ok: WHAT" or "FAIL: WHAT" with both
# values, and sets failed=1 on a mismatch.
failed=0
check() { # what, expected, actual
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        echo "  expected: $(printf %q "$2")"
        echo "  actual:   $(printf %q "$3")"
        failed=1
    fi
}
