#!/bin/bash
# The device harness fails a test program that ends before its tests have all
# run, even with status 0, and passes the same program when it runs to its end.
#
#   exit_halfway_test.sh EXIT_HALFWAY.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$1
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

[ "$failures" -eq 0 ] && echo "harness tells an unfinished test program from a finished one"
exit $((failures > 0))
