#!/bin/bash
# Runs the whole test suite ROUNDS times (default 10) under load: twice as many
# CTest jobs as cores, and a busy loop on one core beside it. Prints
# "N of M rounds passed" and the names of the tests that failed. Not part of
# CI, which has no time for it.
#
#   tools/stress-tests.sh [ROUNDS]       (build dir: $KESTRUM_BUILD or ./build)
#
# The build tree must be configured and built. Its template device is kept,
# unless KESTRUM_FRESH_TEMPLATE=1, when the first round makes it again.
set -u
rounds=${1:-10}
case "$rounds" in ''|*[!0-9]*|0) echo "usage: stress-tests.sh [ROUNDS]" >&2; exit 2 ;; esac
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRUM_BUILD:-$root/build}
[ -f "$build/CTestTestfile.cmake" ] || { echo "stress-tests: no configured build tree in $build" >&2; exit 2; }
jobs=$((2 * $(nproc)))

busy=
stop_busy() { [ -n "$busy" ] && kill "$busy" 2>/dev/null; busy=; }
trap stop_busy EXIT
trap 'exit 130' INT TERM
( while :; do :; done ) &
busy=$!

[ "${KESTRUM_FRESH_TEMPLATE:-0}" = 1 ] && rm -rf "$build/devices/template"

passed=0
declare -A failed_count=()
for round in $(seq 1 "$rounds"); do
    log="$build/stress-round-$round.log"
    echo "round $round of $rounds: ctest -j $jobs"
    if (cd "$build" && ctest -j "$jobs" --output-on-failure >"$log" 2>&1); then
        passed=$((passed + 1))
    else
        # CTest's summary lists each failed test as "  NN - name (Failed)".
        while read -r name; do
            failed_count[$name]=$(( ${failed_count[$name]:-0} + 1 ))
            echo "  failed: $name (log: $log)"
        done < <(sed -n 's/^[[:space:]]*[0-9]\+ - \([^ ]*\) (.*$/\1/p' "$log")
    fi
done

echo "$passed of $rounds rounds passed"
for name in "${!failed_count[@]}"; do
    echo "failed in ${failed_count[$name]} round(s): $name"
done
[ "$passed" -eq "$rounds" ]
