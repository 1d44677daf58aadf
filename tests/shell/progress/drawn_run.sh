#!/bin/bash
# What a whole "S" run draws on the Progress page, read from Wine's +text
# trace of the real program: the two headings of the run and each task line
# drawn twice (pending, then done) at its row, 38 pixels down and 17 apart.
#   drawn_run.sh BUILD_DIR
set -u
build=$1
trace=$(WINEDEBUG=+text "$(dirname "$0")/../../harness/run-in-device" "$build/bin/progress.exe" \
        --gtest_filter='ProgressProgram.AutoStartWithExit*' 2>&1)
echo "$trace" | grep -q '\[  PASSED  \] 1 test' || { echo "$trace" | tail -20; echo "the run itself failed"; exit 1; }
# Text drawn with the pages' flags (word break, expand tabs, no prefix), from
# the run's first heading to its last (repaints after the run may follow).
drawn=$(echo "$trace" | tr -d '\r' | sed -n 's/.*trace:text:DrawTextExW \(L".*", -1, \[([0-9]*,[0-9]*)\)-.*00000850$/\1/p' \
        | sed -n '/Cleaning Progress/,/Completed Tasks/p')
expected='L"Cleaning Progress", -1, [(30,5)
L"Windows Temp folder", -1, [(30,38)
L"Windows Temp folder", -1, [(30,38)
L"\\My Documents\\Temp", -1, [(30,55)
L"\\My Documents\\Temp", -1, [(30,55)
L"Completed Tasks", -1, [(30,5)'
if [ "$drawn" != "$expected" ]; then
    echo "drawn during the run:"; echo "$drawn"
    echo "expected:"; echo "$expected"
    exit 1
fi
echo "the run drew its headings and task lines as expected"
