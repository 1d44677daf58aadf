#!/bin/bash
# The device tool end to end: refusals, a created device's sandbox and
# installation, seeded content, the help viewer and demo programs inside the
# device (device_window.exe, run in the device), the screen shot, stop and
# destroy. Everything that runs Wine runs in the device under test.
#
#   device_tool_test.sh BUILD/bin/device_window.exe
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
tool=$top/tools/device
window_test=$1
build=${KESTRUM_BUILD_DIR:-$top/build}
work=$(mktemp -d "$build/devices/tooltest.XXXXXX" 2>/dev/null || { mkdir -p "$build/devices"; mktemp -d "$build/devices/tooltest.XXXXXX"; })
dev=$work/pda
. "$top/tests/support/checks.sh"

cleanup() {
    [ -d "$dev" ] && "$tool" destroy "$dev" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

has_line() { grep -qxF -- "$2" <<<"$1"; }
count_of() { grep -c -- "$2" <<<"$1"; }

# --- refusals -----------------------------------------------------------------
mkdir -p "$work/occupied" && echo data >"$work/occupied/keep.txt"
check "create refuses a folder holding something else" refuses "not a device" "$tool" create "$work/occupied"
check "... and leaves it alone" test "$(cat "$work/occupied/keep.txt")" = data
echo x >"$work/afile"
check "create refuses a file" refuses "not a folder" "$tool" create "$work/afile"
check "destroy refuses a non-device" refuses "not a device" "$tool" destroy "$work/occupied"
check "... and leaves it alone" test -f "$work/occupied/keep.txt"
check "run refuses a non-device" refuses "not a device" "$tool" run "$work/occupied"
check "an unknown command is refused" refuses "unknown command" "$tool" frobnicate "$work/x"
# A PATH with every tool the script needs except Wine.
mkdir -p "$work/nowine"
for t in bash realpath ls cat mkdir dirname basename rm touch cp ln head tr; do
    ln -s "$(command -v $t)" "$work/nowine/$t"
done
check "create refuses without Wine" refuses "wine is not installed" env PATH="$work/nowine" "$tool" create "$work/new"
check "... and makes nothing" test ! -e "$work/new"
check "--help explains the commands" bash -c "'$tool' --help | grep -q 'shot PATH FILE.png'"

# --- create -------------------------------------------------------------------
check "create succeeds" "$tool" create "$dev"
store=$dev/store
store_bytes() { echo $(( $(stat -f -c '%b' "$1") * $(stat -f -c '%S' "$1") )); }
check "the store is a file system of its own" mountpoint -q "$store"
check "... of a handheld's 32 MB" test "$(store_bytes "$store")" -gt $((30 * 1048576)) -a "$(store_bytes "$store")" -le $((32 * 1048576))
check "the navigation bar is installed" test -f "$store/Windows/navbar.exe"
check "no z: drive" test ! -e "$dev/prefix/dosdevices/z:"
check "d: is the file store" test "$(readlink -f "$dev/prefix/dosdevices/d:")" = "$(readlink -f "$store")"
for d in "Windows/StartUp" "Windows/Start Menu" "Windows/AppMgr/Install" "Windows/Profiles/guest" "My Documents" "Program Files" "Temp"; do
    check "layout has \\$d" test -d "$store/$d"
done
check "help viewer in \\Windows" test -f "$store/Windows/peghelp.exe"
check "help file in \\Windows" cmp -s "$store/Windows/Kestrum.htm" "$top/handheld/resources/help/Kestrum.htm"
if [ -f "$build/bin/Kestrum.X86.CAB" ]; then
    check "Kestrum installed from its cabinet" cmp -s "$store/Program Files/Kestrum/Kestrum.exe" "$build/bin/Kestrum.exe"
    check "... and registered" grep -qF 'folder	\Program Files\Kestrum' "$store/Windows/AppMgr/Tarnwick Kestrum.unload"
fi
check "TEMP on D:" grep -q '"TEMP"="D:\\\\Temp"' "$dev/prefix/user.reg"
check "audio off" grep -q '"Audio"=""' "$dev/prefix/user.reg"
check "240x320 screen" grep -q '"Handheld"="240x320"' "$dev/prefix/user.reg"
mark='HKLM\System\Emulated Handheld'
check "the device's registry carries its mark" "$tool" exec "$dev" reg query "$mark" /v Device
# A device made before the mark moved into the registry: run says how to add it, install adds it.
"$tool" exec "$dev" reg delete "$mark" /f >/dev/null 2>&1
check "run refuses a device without its mark" refuses "tools/device install" "$tool" run "$dev"
check "install adds the mark" "$tool" install "$dev"
check "... which the registry then carries" "$tool" exec "$dev" reg query "$mark" /v Device
check "create refuses an existing device" refuses "already a device" "$tool" create "$dev"
check "no symbolic link in the store" test -z "$(find "$store" -type l)"
check "create refuses a device inside a file store" refuses "inside the device" "$tool" create "$store/Temp/nested"
check "... and makes nothing there" test ! -e "$store/Temp/nested"

# --- seed ---------------------------------------------------------------------
check "seed succeeds" "$tool" seed "$dev"
inventory=$("$tool" measure "$dev")
check "old temp file dated 60 days back" test "$(( ($(date +%s) - $(stat -c %Y "$store/Temp/install.log")) / 86400 ))" -eq 60
check "new temp file kept recent" test "$(( ($(date +%s) - $(stat -c %Y "$store/Temp/session.tmp")) / 86400 ))" -lt 30
for area in '\Temp\' '\My Documents\Temp\' '\My Documents\Temp1\' '\Windows\Profiles\guest\Temporary Internet Files\' \
            '\Windows\Temporary Internet Files\' '\Windows\Profiles\guest\History\' '\Windows\History\' \
            '\Windows\Profiles\guest\Cookies\' '\Windows\Cookies\' '\Windows\AppMgr\Install\' '\Windows\StartUp\' '\Windows\Start Menu\'; do
    check "files seeded in $area" test "$(grep -cF -- "file	$area" <<<"$inventory")" -ge 2
done
check "shortcut text is length#target" test "$(cat "$store/Windows/Start Menu/Tide Tables.lnk")" = '38#"\Program Files\Tide Tables\tides.exe"'
check "start-up shortcut from an install" test "$(cat "$store/Windows/StartUp/Tide Alarm.lnk")" = '38#"\Program Files\Tide Tables\alarm.exe"'
for key in "Tarnwick Kestrum" "Driftwood Pocket Notes" "Inkwell Sketch Pad" "Seaward Tide Tables" "Nightsky Star Chart" \
           "Waymark Route Maps" "Old Utility Settings"; do
    check "application key $key" has_line "$inventory" "key	$key"
done
check "live application folder exists" test -d "$store/Program Files/Pocket Notes"
check "dead application folder absent" test ! -e "$store/Program Files/Tide Tables"
check "a program installed to the card taken out" grep -qF 'file	\Storage Card\Program Files\Route Maps\maps.exe' \
    "$store/Windows/AppMgr/Waymark Route Maps.unload"
check "... whose card is gone" test ! -e "$store/Storage Card"
check "address history has three values" test "$(count_of "$inventory" '^address	url')" -eq 3
check "three demo programs run" test "$(count_of "$inventory" '^running	')" -eq 3
settings=$("$tool" exec "$dev" reg query 'HKLM\SOFTWARE\Apps\Tarnwick Kestrum' /v Settings | tr -d '\r' | awk '$1 == "Settings" { print $2, $3 }')
check "settings record is 1048 bytes of REG_BINARY" test "$(awk '{ print $1, length($2) }' <<<"$settings")" = "REG_BINARY 2096"
# flags 0xC07FF (every task), 30 days, folder 1 "\My Documents\Temp", folder 2 at byte 528 "\My Documents\Temp1"
settings_ok() {
    local hex=${settings#REG_BINARY }
    [ "${hex:0:24}" = FF070C001E0000005C004D00 ] && [ "${hex:1056:14}" = 5C004D00790020 ]
}
check "settings record holds the demo's choices" settings_ok

# --- the help viewer and demo programs inside the device ------------------------
# GoogleTest leaves this file behind when the program ends before all its tests ran.
TEST_PREMATURE_EXIT_FILE='C:\window-test-unfinished' \
    check "viewer and demo programs in the device" "$tool" exec "$dev" "$window_test"
check "... and the window test ran to its end" test ! -e "$dev/prefix/drive_c/window-test-unfinished"

# --- shot -----------------------------------------------------------------------
check "shot saves a picture" "$tool" shot "$dev" "$work/screen.png"
check "the picture is 240x320" test "$(identify -format '%wx%h' "$work/screen.png" 2>/dev/null)" = 240x320
check "the picture is not blank" test "$(identify -format '%k' "$work/screen.png" 2>/dev/null)" -gt 2

# --- stop and destroy -------------------------------------------------------------
mounted() { grep -qF " $1 " /proc/mounts; }
check "stop succeeds" "$tool" stop "$dev"
check "stop switched the screen off" test ! -e "$dev/display"
check "stop unmounted the store" bash -c "! grep -qF ' $store ' /proc/mounts"
check "shot refuses a screen that is off" refuses "screen of .* is off" "$tool" shot "$dev" "$work/none.png"
check "measure mounts the stopped store again, files kept" bash -c "'$tool' measure '$dev' | grep -qF 'file	\Temp\install.log	3072'"
check "... as a mount" mountpoint -q "$store"
check "destroy succeeds" "$tool" destroy "$dev"
check "destroy removed the device" test ! -e "$dev"

# A store of another size, and a device that goes without stop.
small=$work/small
check "create with --store-size 8M" "$tool" create "$small" --store-size 8M
check "... gives an 8 MB store" test "$(store_bytes "$small/store")" -gt $((7 * 1048576)) -a "$(store_bytes "$small/store")" -le $((8 * 1048576))
check "create refuses a size that is no size" refuses "store size" "$tool" create "$work/odd" --store-size lots
check "destroy of a running store succeeds" "$tool" destroy "$small"

# The harness's devices: a program that never ends (the navigation bar) is
# interrupted; the harness still unmounts and removes its device.
# (A store left by a killed run may be mounted before: the run reaps it.)
harness=$top/tests/harness/run-in-device
run_stores() { grep -o "$build/devices/run\.[^ ]*" /proc/mounts; }
stores_before=$(run_stores)
new_run_store() { run_stores | grep -qvxF -f <(printf '%s\n' "$stores_before"); }
KESTRUM_BUILD_DIR=$build "$harness" "$build/bin/navbar.exe" &
harness_pid=$!
for ((i = 0; i < 600; i++)); do
    new_run_store && break
    sleep 0.1   # waiting for a condition: the harness's store is mounted
done
check "the harness mounts its device's store" new_run_store
kill -TERM "$harness_pid"
wait "$harness_pid"
check "an interrupted harness run ends" test $? -ne 0
check "... and leaves no device behind" bash -c "! ls -d '$build'/devices/run.* 2>/dev/null | grep -q ."

# Nothing of this test is left in the host's mount table.
check "no device mount is left" bash -c "! grep -qF '$build/devices/' /proc/mounts"

checks_done
