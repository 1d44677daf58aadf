# The shell side of the test kit, sourced by the tests that are scripts:
# checks that count failures, a refusal check, and the one wait bound
# (wait_bound.h) for polling a condition.
#
#   check DESCRIPTION COMMAND...   prints "ok: ..." or "FAILED: ...", counts failures
#   refuses PATTERN COMMAND...     true when COMMAND fails with a message matching PATTERN
#   wait_for COMMAND...            true once COMMAND succeeds; false when the bound passes
#   checks_done                    prints the count; status 0 when nothing failed

failures=0
WAIT_BOUND_MS=$(sed -n 's/^const DWORD WAIT_BOUND_MS = \([0-9]*\);$/\1/p' "$(dirname "${BASH_SOURCE[0]}")/wait_bound.h")

check() {
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

refuses() {
    local pattern=$1 out rc; shift
    out=$("$@" 2>&1); rc=$?
    [ $rc -ne 0 ] && grep -q -- "$pattern" <<<"$out"
}

# Polls; the bound only stops a run that hangs.
wait_for() {
    local end=$((SECONDS + WAIT_BOUND_MS / 1000))
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1   # the poll's pace
    done
}

checks_done() {
    echo "$failures failure(s)"
    [ $failures -eq 0 ]
}
