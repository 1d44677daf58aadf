#!/bin/bash
# Runs one whole-run test of deskinstall in a fresh device and checks what
# Wine's log shows of it: every debugger output call (+debugstr) and every
# message box (+msgbox), in order, against the expected files.
#
#   end_to_end.sh TEST_PROGRAM.exe GTEST_FILTER EXPECTED_PREFIX
#
# EXPECTED_PREFIX.debug holds the expected OutputDebugStringA lines and
# EXPECTED_PREFIX.boxes the expected message box texts, both as Wine logs
# them. The test program itself closes each message box as it appears.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/devicelib.sh"

[ $# -eq 3 ] || device_die "usage: end_to_end.sh TEST_PROGRAM.exe GTEST_FILTER EXPECTED_PREFIX"
program=$1 filter=$2 expected=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

WINEDEBUG=+debugstr,+msgbox "$here/../../harness/run-in-device" "$program" --gtest_filter="$filter" >"$work/log" 2>&1
rc=$?

sed -n 's/^[0-9a-f]*:warn:debugstr:OutputDebugStringA //p' "$work/log" >"$work/debug"
sed -n 's/^[0-9a-f]*:trace:msgbox:MSGBOX_OnInit //p' "$work/log" >"$work/boxes"
grep -av ':warn:debugstr:\|:trace:msgbox:' "$work/log"

status=0
[ "$rc" -eq 0 ] || { echo "end_to_end: the test program failed ($rc)"; status=1; }
if ! diff -u "$expected.debug" "$work/debug"; then
    echo "end_to_end: debugger output differs from $expected.debug"
    status=1
fi
if ! diff -u "$expected.boxes" "$work/boxes"; then
    echo "end_to_end: message boxes differ from $expected.boxes"
    status=1
fi
[ "$status" -eq 0 ] && echo "end_to_end: $(wc -l <"$work/debug") debugger lines and $(wc -l <"$work/boxes") message boxes as expected"
exit $status
