#!/bin/bash
# The device harness fails a test program that ends before its tests have all
# run, even with status 0, and passes the same program when it runs to its end.
# A program that crashes fails at once (no debugger waits for it), and the
# harness names the exception and where it struck.
#
#   exit_halfway_test.sh EXIT_HALFWAY.exe HARNESS_PROBE.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$1
probe=$2
. "$here/../support/checks.sh"   # WAIT_BOUND_MS
out=$(mktemp)
trap 'rm -f "$out"' EXIT
failures=0

"$here/run-in-device" "$program" >"$out" 2>&1
rc=$?
if [ "$rc" -eq 0 ] || ! grep -q "before its tests had all run" "$out"; then
    echo "FAIL: a program that ended halfway came back with status $rc:"; cat "$out"
    failures=$((failures + 1))
fi

"$here/run-in-device" "$program" --gtest_filter=-ExitHalfway.EndsTheProcess >"$out" 2>&1
rc=$?
if [ "$rc" -ne 0 ] || ! grep -q "\[  PASSED  \] 2 tests" "$out"; then
    echo "FAIL: the same program run to its end came back with status $rc:"; cat "$out"
    failures=$((failures + 1))
fi

# The bound only stops a run that hangs on the crash. The exit status is the
# low byte of the exception's code, 0xC0000005.
timeout $((WAIT_BOUND_MS / 1000)) "$here/run-in-device" "$probe" read-null >"$out" 2>&1
rc=$?
if [ "$rc" -ne 5 ] ||
   ! grep -qE "crashed: exception 0xC0000005 \(page fault on read access to 0+\) at address [0-9A-Fa-f]{8,}$" "$out"; then
    echo "FAIL: a program that reads through a null pointer came back with status $rc (124: it hung):"; cat "$out"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "harness tells an unfinished or crashed test program from a finished one"
exit $((failures > 0))
