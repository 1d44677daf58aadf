#!/bin/bash
# A harness run killed with SIGKILL (ctest's timeout, the out-of-memory
# killer) leaves its device behind, its program running and its store
# mounted. The next run reaps it: the program and the screen end, the store
# is unmounted, the folder goes, said in one line. A run still alive beside
# it is left alone. Runs alone (RUN_SERIAL): its runs are the only ones.
#
#   reap_test.sh HARNESS_PROBE.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
probe=$1
harness=$here/run-in-device
build=${KESTRUM_BUILD_DIR:-$(dirname "$(dirname "$probe")")}
. "$here/../../tools/devicelib.sh"
. "$here/../support/checks.sh"

# The device of a blocked probe, other than $1, once the probe runs.
probe_device() {
    local mark
    for mark in "$build"/devices/run.*/store/probe-running; do
        [ -e "$mark" ] && [ "${mark%/store/*}" != "$1" ] && { echo "${mark%/store/*}"; return 0; }
    done
    return 1
}
runs_in() {   # some process works in DEV's store
    local cwd
    for cwd in /proc/[0-9]*/cwd; do
        case "$(readlink "$cwd" 2>/dev/null)" in "$1"/store*) return 0 ;; esac
    done
    return 1
}
mounted() { grep -qF " $1/store " /proc/mounts; }
running_and_mounted() { runs_in "$1" && mounted "$1"; }
nothing_runs_in() { ! runs_in "$1"; }
not_mounted() { ! mounted "$1"; }
screen_ended() { ! device_process_is Xvfb "$screen_pid" "$screen_start"; }
not_mounted_any() { ! grep -qF "$build/devices/run." /proc/mounts; }

"$harness" "$probe" block >/dev/null 2>&1 &
live_run=$!
wait_for probe_device "" >/dev/null && live=$(probe_device "")
"$harness" "$probe" block >/dev/null 2>&1 &
dead_run=$!
wait_for probe_device "${live:-}" >/dev/null && dead=$(probe_device "${live:-}")
if [ -z "${live:-}" ] || [ -z "${dead:-}" ]; then
    echo "FAILED: the blocked probes did not start"
    kill -TERM "$live_run" "$dead_run"
    exit 1
fi
read -r screen_pid screen_start <"$dead/screen"

kill -KILL "$dead_run"
wait "$dead_run" 2>/dev/null
check "the killed run left its device behind, running, its store mounted" running_and_mounted "$dead"

out=$("$harness" "$probe" ok 2>&1)
check "the next run passes" test $? -eq 0
echo "$out"
check "... and says in one line that it reaped the killed run's device" test "$(grep -c "reaped $dead, " <<<"$out")" -eq 1
check "that device's folder is gone" test ! -e "$dead"
check "... its store is unmounted" not_mounted "$dead"
check "... its program has ended" wait_for nothing_runs_in "$dead"
check "... and its screen" wait_for screen_ended
check "the live run's device is untouched" running_and_mounted "$live"

kill -TERM "$live_run"
wait "$live_run"
check "the live run, ended, removes its own device" test ! -e "$live"
check "no device mount is left" not_mounted_any
checks_done
