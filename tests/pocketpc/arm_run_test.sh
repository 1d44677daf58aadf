#!/bin/bash
# The Pocket PC build beside the emulated one, on two devices seeded alike:
# the ARM Kestrum.exe on an emulated StrongARM (tools/device run-arm), the
# emulated Kestrum.exe under Wine (tools/device run). Both clean with "S":
# the same files, folders, keys, address values and programs must go from
# both and the same stay, the Report's figures must agree and both must end
# with status 0. Then each starts with no arguments on a device without
# settings and ends on "ok": the ARM build must save the settings record
# byte for byte as the emulated build does, handing the shell and the common
# controls the records they take (the menu bar's 32 bytes, the sheet's
# header and pages of 40, 524 from the sheet callback's version query).
#
#   arm_run_test.sh ARM-KESTRUM.EXE       KESTRUM_BUILD_DIR: the emulated build
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${KESTRUM_BUILD_DIR:-$top/build}
export KESTRUM_POCKETPC_EXE=$1
/usr/bin/python3 -c "import unicorn, capstone" 2>/dev/null ||
    { echo "FAILED: Debian's python3-unicorn and python3-capstone are missing (tools/setup-debian.sh installs them)"; exit 1; }
. "$top/tests/support/checks.sh"
tool=$top/tools/device
emulated=$build/devices/arm-test-emulated
arm=$build/devices/arm-test-arm
out=$(mktemp -d)
cleanup() {
    local d
    for d in "$emulated" "$arm"; do
        [ -e "$d" ] && "$tool" destroy "$d" >/dev/null 2>&1
    done
    rm -rf "$out"
}
trap cleanup EXIT
for d in "$emulated" "$arm"; do
    [ -e "$d" ] && "$tool" destroy "$d" >/dev/null
    "$tool" create "$d" >/dev/null && "$tool" seed "$d" >/dev/null || { echo "FAILED: could not make $d"; exit 1; }
done

# Taps and looks go through the device's own screenpos.exe (see tools/demo.sh).
screen_of() { local d _; read -r d _ <"$1/display"; echo "$d"; }
where() { "$tool" exec "$1" 'D:\Windows\screenpos.exe' "${@:2}" 2>/dev/null | tr -d '\r'; }
in_front() { [ -n "$(where "$1" front Kestrum)" ]; }
ok_shown() { [ -n "$(where "$1" ok)" ]; }
tap_ok() {
    local at
    # The bar takes the window in front as its "ok" target a moment after
    # the window comes forward; until then it has no "ok" to tap.
    wait_for ok_shown "$1" && at=$(where "$1" ok) && [ -n "$at" ] || return 1
    # shellcheck disable=SC2086
    DISPLAY=$(screen_of "$1") xdotool mousemove --window "$(device_desktop_window "$(screen_of "$1")")" $at click 1
}
. "$top/tools/devicelib.sh"
drawn() { grep -q -F -- "L\"$2" "$1"; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# Runs the emulated build with ARGS under +text until its Report (or, with
# no arguments, its first page) is drawn, taps "ok" and returns its status.
run_emulated() {
    local dev=$1 trace=$2 wait_text=$3 pid; shift 3
    WINEDEBUG=+text "$tool" run "$dev" "$@" >/dev/null 2>"$trace" &
    pid=$!
    wait_for drawn "$trace" "$wait_text" && wait_for in_front "$dev" && tap_ok "$dev" && wait_for gone "$pid" ||
        { echo "the emulated build did not end on ok"; "$tool" stop "$dev" >/dev/null; }
    wait "$pid"
}

"$tool" measure "$emulated" >"$out/emulated-before.txt"
"$tool" measure "$arm" >"$out/arm-before.txt"
check "the two devices are seeded alike" cmp -s "$out/emulated-before.txt" "$out/arm-before.txt"

run_emulated "$emulated" "$out/emulated-trace.txt" "Memory available" S
check "the emulated build cleans with status 0" test $? -eq 0
"$tool" run-arm "$arm" S >"$out/arm-trace.txt" 2>&1
check "the ARM build cleans with status 0" test $? -eq 0
check "... and says so last" test "$(tail -n 1 "$out/arm-trace.txt")" = "exit status: 0"
"$tool" measure "$emulated" >"$out/emulated-after.txt"
"$tool" measure "$arm" >"$out/arm-after.txt"
check "the cleaning removed something" bash -c "! cmp -s '$out/emulated-before.txt' '$out/emulated-after.txt'"
check "the same things are gone from both devices and the same stay" \
    diff "$out/emulated-after.txt" "$out/arm-after.txt"
check "the Report's figures agree" python3 - "$top/tools" "$out/emulated-trace.txt" "$out/arm-trace.txt" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import demo_summary
figures = []
for path in sys.argv[2:]:
    with open(path, encoding="utf-8", errors="replace") as f:
        figures.append(demo_summary.read_report(f.readlines()))
print("emulated:", figures[0])
print("ARM:     ", figures[1])
memory = [float(f.pop("memory", "nan").split()[0]) for f in figures]
# The free store is measured on two stores of their own: a block of
# metadata may differ between them.
sys.exit(not (len(figures[0]) >= 9 and figures[0] == figures[1] and abs(memory[0] - memory[1]) <= 0.1))
PY

# Start-up with no arguments on devices without settings, ended by "ok".
for d in "$emulated" "$arm"; do
    "$tool" exec "$d" reg delete 'HKLM\SOFTWARE\Apps\Tarnwick Kestrum' /v Settings /f >/dev/null 2>&1
done
settings() { "$tool" exec "$1" reg query 'HKLM\SOFTWARE\Apps\Tarnwick Kestrum' /v Settings 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_BINARY *//p'; }
run_emulated "$emulated" "$out/emulated-start.txt" "Selected Options"
check "the emulated build ends on ok with status 0" test $? -eq 0
"$tool" run-arm "$arm" >"$out/arm-start.txt" 2>&1
check "the ARM build ends on ok with status 0" test $? -eq 0
record=$(settings "$emulated")
check "the emulated build saved a record of 1048 bytes" test "${#record}" -eq 2096
check "the ARM build saved the same record, byte for byte" test "$(settings "$arm")" = "$record"
t=$out/arm-start.txt
check "the ARM build saved the record after the tap on ok" bash -c \
    "sed -n '/the user taps \"ok\"/,\$p' '$t' | grep -q 'RegSetValueExW(.*\"Settings\", REG_BINARY, 1048 bytes) = 0'"
check "the menu bar record is 32 bytes and taken" grep -q 'SHCreateMenuBar(record 32 bytes: parent 0x[0-9A-F]*, flags 0x0, menu bar 102' "$t"
check "... the shell made the bar" grep -q '= TRUE, menu bar 0x' "$t"
check "the sheet header is 40 bytes with flags 0x2508" grep -q 'PropertySheetW(header 40 bytes: flags 0x2508' "$t"
check "... its four pages 40 bytes each, flags 0x88" test "$(grep -c 'page [1-4]: record 40 bytes: flags 0x88' "$t")" -eq 4
check "the sheet callback answers the version query with 524" grep -q 'sheet callback(NULL, 3 version query, 0) = 524' "$t"
check "the page callback allows the Progress page" grep -q 'page callback(NULL, 2 create, page 1) = 1' "$t"
check "no fault stopped a run" bash -c "! grep -q '^exit status: fault' '$out/arm-trace.txt' '$t'"
checks_done
