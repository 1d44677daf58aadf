#!/bin/bash
# Software reaches the device as on a Pocket PC, end to end: deskinstall from
# the emulated install set on the emulated desktop, its application manager,
# the connection and the device's installer; then Kestrum started from its
# Start menu shortcut cleans a seeded device, whose dead entries came from
# real installs whose folders were deleted by hand. Skipped (77) until the
# install set is built.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
tool=$top/tools/device
build=${KESTRUM_BUILD_DIR:-$top/build}
[ -f "$build/installset/deskinstall.exe" ] || { echo "the emulated install set is not built: skipped"; exit 77; }
mkdir -p "$build/devices"
work=$(mktemp -d "$build/devices/pathtest.XXXXXX")
dev=$work/pda
. "$top/tests/support/checks.sh"
trap '[ -d "$dev" ] && "$tool" destroy "$dev" >/dev/null 2>&1; rm -rf "$work"' EXIT

check "a device without Kestrum" "$tool" create "$dev" --no-kestrum
store=$dev/store
out=$("$tool" desktop-install "$dev" "$build/installset" 2>&1)
check "desktop-install succeeds" test $? -eq 0
echo "$out"
check "... deskinstall ran on the desktop and ended 0" grep -qF "deskinstall.exe ended with status 0" <<<"$out"
check "... its application manager queued the cabinet Setup.ini names" grep -qF "queued Kestrum.X86.CAB" <<<"$out"
check "... and logged the second description, which the set lacks" grep -qF "Quillet.ini: no such install description" <<<"$out"
check "... and the device's installer installed it" grep -qF "installed Tarnwick Kestrum" <<<"$out"
check "Kestrum is the build's, byte for byte" cmp -s "$store/Program Files/Kestrum/Kestrum.exe" "$build/bin/Kestrum.exe"
check "the delivered cabinet was deleted from \\Windows\\AppMgr\\Install" test -z "$(ls -A "$store/Windows/AppMgr/Install")"
check "the desktop is a sandbox of its own: only its C:" \
    test "$(cd "$dev/desktop/prefix/dosdevices" && ls | grep -v '^com\|^lpt')" = "c:"
check "... without the device's mark" \
    bash -c "! grep -q 'Emulated Handheld' '$dev/desktop/prefix/system.reg'"

check "seed installs the demo programs from their cabinets" "$tool" seed "$dev"
records() { ls "$store/Windows/AppMgr" | grep '\.unload$'; }
before=$(records)
for app in "Seaward Tide Tables" "Nightsky Star Chart" "Driftwood Pocket Notes" "Waymark Route Maps"; do
    check "$app has its record" grep -qxF "$app.unload" <<<"$before"
done
check "two programs' folders were deleted by hand" test ! -e "$store/Program Files/Tide Tables" -a ! -e "$store/Program Files/Star Chart"

# Kestrum as the user starts it: the Start menu shortcut's target.
link=$(cat "$store/Windows/Start Menu/Programs/Kestrum.lnk")
target=${link#*#}
target=${target#\"}
target=${target%\"}
check "the Start menu shortcut names Kestrum" test "$target" = '\Program Files\Kestrum\Kestrum.exe'
WINEDEBUG=+text "$tool" exec "$dev" "D:$target" S >/dev/null 2>"$work/trace.txt" &
check "Kestrum started from it runs a cleaning" wait_for grep -q 'L"Completed Tasks' "$work/trace.txt"
"$tool" stop "$dev"

keys=$("$tool" measure "$dev" | sed -n 's/^key\t//p')
after=$(records)
for gone in "Seaward Tide Tables" "Nightsky Star Chart"; do
    check "the key of $gone, whose folder was deleted, is gone" bash -c "! grep -qxF '$gone' <<<'$keys'"
    check "... and its uninstall record" bash -c "! grep -qxF '$gone.unload' <<<'$after'"
done
check "... and their shortcuts" test ! -e "$store/Windows/Start Menu/Tide Tables.lnk" -a \
    ! -e "$store/Windows/StartUp/Tide Alarm.lnk" -a ! -e "$store/Windows/Start Menu/Games/Star Chart.lnk"
for kept in "Tarnwick Kestrum" "Driftwood Pocket Notes" "Inkwell Sketch Pad" "Waymark Route Maps"; do
    check "$kept, still installed (Route Maps on the card taken out), keeps its key" grep -qxF "$kept" <<<"$keys"
    check "... and its record" grep -qxF "$kept.unload" <<<"$after"
done
check "... and the shortcuts of programs still installed stay" test -f "$store/Windows/Start Menu/Programs/Kestrum.lnk" -a \
    -f "$store/Windows/Start Menu/Pocket Notes.lnk" -a -f "$store/Windows/StartUp/Notes Reminder.lnk" -a \
    -f "$store/Windows/Start Menu/Games/Sketch Pad.lnk" -a -f "$store/Windows/Start Menu/Route Maps.lnk"
check "... and their files" test -f "$store/Program Files/Pocket Notes/notes.exe" -a -f "$store/Program Files/Kestrum/Kestrum.exe"

checks_done
