#!/bin/bash
# Kestrum started outside an emulated device changes nothing. The test makes
# its own prefix, under the build's devices folder, whose Z: leads to a decoy
# folder made here (never to / or the host): a desktop as a user's would look
# to Kestrum, with old files wherever the cleaning targets resolve and a
# canary window of another program. Kestrum is started there with "S" from
# Z:\; it must show one box, end with 16, and leave every file and the window.
# Then Z: goes and so does the device's mark from the registry: with only C:
# and D:, both inside, Kestrum started from D:\ must refuse in the same way.
#
#   outside_device.sh BUILD/bin/Kestrum.exe BUILD/bin/helper_outside.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/devicelib.sh"
kestrum=$1 helper=$2
build=${KESTRUM_BUILD_DIR:-$(dirname "$(dirname "$kestrum")")}
device_need_wine
device_ensure_template "$build/devices/template"
mkdir -p "$build/devices"
work=$(mktemp -d "$build/devices/outside.XXXXXX")
pc=$work/pc decoy=$work/decoy
case "$decoy" in "$build"/devices/outside.*/decoy) ;; *) device_die "decoy folder in the wrong place: $decoy" ;; esac

# Set before the clone mounts the device's store, so no mount outlives the test.
cleanup() {
    ( device_env "$pc"; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null )
    device_stop_display
    device_unmount_store "$pc"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
device_clone "$build/devices/template" "$pc"
device_layout "$decoy"
mkdir -p "$decoy/My Documents/Temp" "$decoy/My Documents/Temp1"
ln -s "$decoy" "$pc/prefix/dosdevices/z:"
[ "$(readlink -f "$pc/prefix/dosdevices/z:")" = "$(readlink -f "$decoy")" ] || device_die "z: is not the decoy"
cp "$kestrum" "$helper" "$pc/store/"

# Old files where the targets would resolve from Z:\, and one on D: besides.
for f in "Temp/old.tmp" "My Documents/Temp/old.txt" "Windows/AppMgr/Install/old.cab" \
         "Windows/AppMgr/Orphan.dat" "Windows/Start Menu/Gone.lnk" "Windows/Profiles/guest/old.dat"; do
    echo "old file" >"$decoy/$f"
done
target='"\Program Files\Gone\x.exe"'
printf '%d#%s' ${#target} "$target" >"$decoy/Windows/Start Menu/Gone.lnk"
echo "old file" >"$pc/store/Temp/old.tmp"
touch -d '2001-01-01' "$decoy"/Temp/* "$decoy"/My\ Documents/Temp/* "$decoy"/Windows/AppMgr/* \
    "$decoy"/Windows/AppMgr/Install/* "$decoy"/Windows/Start\ Menu/* "$pc/store/Temp/old.tmp"
snapshot() { (cd "$work" && find decoy pc/store -printf '%p %s %T@\n' | sort); }

device_start_display
device_env "$pc"
cd "$pc/store" || exit 1

failures=0
check() { if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi; }

wine helper_outside.exe canary &
what="the canary window is up"; check wine helper_outside.exe alive

# Starts Kestrum with "S" from FOLDER, which becomes its current directory,
# and checks that it refuses: one box that explains, status 16, the canary
# window and every file as they were.
refused_start() {
    local from=$1 before after box run rc
    before=$(snapshot)
    (cd "$from" && exec wine "$pc/store/Kestrum.exe" S) &
    run=$!
    box=$(wine helper_outside.exe dismiss | tr -d '\r')
    echo "$box"
    what="one message box explains where this build runs"
    check grep -q "^box: This build of Kestrum runs only on an emulated handheld device.*tools/device create" <<<"$box"
    if [ -z "$box" ] || [ "${box#box: }" = "$box" ]; then
        # No box: Kestrum is running as on a device. Look at what it did first,
        # then end it, so that the failure shows rather than a hung run.
        what="the canary window is still there"; check wine helper_outside.exe alive
        wineserver -k
    fi
    wait "$run"
    rc=$?
    what="Kestrum ended with 16 (it ended with $rc)"; check test "$rc" -eq 16
    what="the canary window is still there"; check wine helper_outside.exe alive
    after=$(snapshot)
    what="every file is as it was"; check test "$before" = "$after"
    [ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after")
}

echo "--- a prefix whose Z: leads out, started from Z:"
refused_start "$decoy"

echo "--- only C: and D:, both inside, but no device mark, started from D:"
rm "$pc/prefix/dosdevices/z:"
# Wine keeps the drives it mapped until its session ends: a new session, and a
# new canary in it, so that only the missing mark can make Kestrum refuse.
wineserver -k 2>/dev/null
wineserver -w
wine helper_outside.exe canary &
what="the canary window is up again"; check wine helper_outside.exe alive
wine reg delete 'HKLM\System\Emulated Handheld' /f >/dev/null 2>&1
what="the prefix has no drive but c: and d:"
check test "$(cd "$pc/prefix/dosdevices" && ls -d [a-z]: | tr '\n' ' ')" = "c: d: "
what="the device mark is gone"; check bash -c "! wine reg query 'HKLM\System\Emulated Handheld' /v Device >/dev/null 2>&1"
refused_start "$pc/store"
what="no settings were written"
check bash -c "! wine reg query 'HKLM\SOFTWARE\Apps\Tarnwick Kestrum' /v Settings >/dev/null 2>&1"
exit $((failures > 0))
