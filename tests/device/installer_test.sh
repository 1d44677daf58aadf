#!/bin/bash
# The device's installer and Remove Programs through the device tool: one
# cabinet installed and removed again with everything it touched checked, a
# second install replacing the first, the refusals leaving the device as it
# was, and the tool's one line for bad input. Cabinets come from the cabinet
# writer; everything that runs Wine runs in the device under test.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
tool=$top/tools/device
build=${KESTRUM_BUILD_DIR:-$top/build}
mkdir -p "$build/devices"
work=$(mktemp -d "$build/devices/installtest.XXXXXX")
dev=$work/pda
. "$top/tests/support/checks.sh"
trap '[ -d "$dev" ] && "$tool" destroy "$dev" >/dev/null 2>&1; rm -rf "$work"' EXIT

. "$top/tools/devicelib.sh"
processor=$(device_cab_processor)
mkdir -p "$work/src"
cp "$build/bin/demoapp.exe" "$work/src/probe.exe"
printf 'notes\r\n' >"$work/src/notes.txt"
printf '<html>help</html>' >"$work/src/probe.htm"

# cabinet NAME PROCESSOR MIN-CE [LINES...]: the probe program's cabinet.
cabinet() {
    local name=$1 cpu=$2 ce=$3; shift 3
    { printf 'provider Testers\napplication Probe\nprocessor %s\nmin-ce %s\ninstall-dir "%%CE1%%\\Probe"\n' "$cpu" "$ce"
      printf 'file 1 %%InstallDir%% probe.exe src/probe.exe\nfile 3 %%CE2%% probe.htm src/probe.htm\n'
      printf 'shortcut %%CE11%% Probe 1\nshortcut %%CE4%% "Probe Start" 1\n'
      printf '%s\n' "$@"; } >"$work/$name.txt"
    "$top/tools/cecab/write-cab" "$work/$name.txt" "$work/$name.CAB"
}
cabinet full "$processor" 3.00 'file 2 "%InstallDir%\data" notes.txt src/notes.txt' \
    'registry HKLM "Software\Testers\Probe" Home sz "%InstallDir%"' \
    'registry HKLM "Software\Testers\Probe" Count dword 5' \
    'registry HKLM "Software\Testers\Probe" Lines multi_sz a bc' \
    'registry HKLM "Software\Testers\Probe" Blob binary DEAD' \
    'registry HKCU "Software\Kept" Mode sz,noclobber new'
cabinet lean "$processor" 3.00
cabinet arm 2577 3.00
cabinet later "$processor" 4.20
head -c -200 "$work/full.CAB" >"$work/cut.CAB"
# A sound cabinet whose control file is not one.
mkdir -p "$work/bad" && head -c 300 /dev/urandom >"$work/bad/00000000.000" && cp "$work/src/notes.txt" "$work/bad/0NOTES.001"
(cd "$work/bad" && gcab -c -n "$work/badcontrol.CAB" 00000000.000 0NOTES.001)

value() {   # value KEY NAME: the value's type and data as reg prints them
    "$tool" exec "$dev" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^    $2    //p"
}
has_key() { "$tool" exec "$dev" reg query "$1" >/dev/null 2>&1; }
state() { "$tool" measure "$dev"; "$tool" exec "$dev" reg query 'HKLM\Software\Testers' /s 2>/dev/null; value 'HKCU\Software\Kept' Mode; }
shortcut_of() { printf '%d#%s' "${#1}" "$1"; }

check "a device without Kestrum" "$tool" create "$dev" --no-kestrum
store=$dev/store
check "every device has the installer and Remove Programs" test -f "$store/Windows/wceload.exe" -a -f "$store/Windows/unload.exe"
"$tool" exec "$dev" reg add 'HKCU\Software\Kept' /v Mode /d user /f >/dev/null 2>&1

# --- one cabinet in, everything it touched -------------------------------------
out=$("$tool" install-cab "$dev" "$work/full.CAB" 2>&1)
check "install-cab installs the cabinet" test $? -eq 0
check "... and says what" grep -qF 'file \Program Files\Probe\data\notes.txt' <<<"$out"
check "the program in its folder, byte for byte" cmp -s "$store/Program Files/Probe/probe.exe" "$work/src/probe.exe"
check "a file in a subfolder" cmp -s "$store/Program Files/Probe/data/notes.txt" "$work/src/notes.txt"
check "a file in %CE2%" cmp -s "$store/Windows/probe.htm" "$work/src/probe.htm"
check "Start menu shortcut, target in quotation marks" \
    test "$(cat "$store/Windows/Start Menu/Programs/Probe.lnk")" = "$(shortcut_of '"\Program Files\Probe\probe.exe"')"
check "start-up shortcut" test -f "$store/Windows/StartUp/Probe Start.lnk"
key='HKLM\Software\Testers\Probe'
check "a string with %InstallDir% replaced" test "$(value "$key" Home)" = 'REG_SZ    \Program Files\Probe'
check "a number" test "$(value "$key" Count)" = 'REG_DWORD    0x5'
check "a multi-string" test "$(value "$key" Lines)" = 'REG_MULTI_SZ    a\0bc'
check "binary" test "$(value "$key" Blob)" = 'REG_BINARY    DEAD'
check "no clobber keeps the user's value" test "$(value 'HKCU\Software\Kept' Mode)" = 'REG_SZ    user'
apps='HKLM\SOFTWARE\Apps\Testers Probe'
check "registered with its InstallDir" test "$(value "$apps" InstallDir)" = 'REG_SZ    \Program Files\Probe'
check "... and Instl = 1" test "$(value "$apps" Instl)" = 'REG_DWORD    0x1'
record="$store/Windows/AppMgr/Testers Probe.unload"
check "an uninstall record named after the key" grep -qF 'file	\Program Files\Probe\probe.exe' "$record"
check "the tool's copy of the cabinet is gone" test -z "$(ls -A "$store/My Documents")"

# --- a second install replaces the first ------------------------------------------
check "the lean cabinet installs over it" "$tool" install-cab "$dev" "$work/lean.CAB"
check "... the file it no longer has is gone" test ! -e "$store/Program Files/Probe/data"
check "... and so are the values it no longer writes" test -z "$(value "$key" Count)"
check "... its own files are there" test -f "$store/Program Files/Probe/probe.exe"
check "... and its record lists only them" bash -c "! grep -q notes.txt '$record'"
"$tool" install-cab "$dev" "$work/full.CAB" >/dev/null 2>&1

# --- removal follows the record -----------------------------------------------------
echo mine >"$store/Program Files/Probe/mine.txt"
check "remove takes the program away" "$tool" remove "$dev" "Testers Probe"
check "... its files" test ! -e "$store/Program Files/Probe/probe.exe" -a ! -e "$store/Windows/probe.htm"
check "... its emptied folder, not one that holds the user's file" \
    test ! -e "$store/Program Files/Probe/data" -a "$(ls "$store/Program Files/Probe")" = mine.txt
check "... its shortcuts, and the folder made for them" \
    test ! -e "$store/Windows/Start Menu/Programs" -a ! -e "$store/Windows/StartUp/Probe Start.lnk"
check "... the keys it made" bash -c "! '$tool' exec '$dev' reg query 'HKLM\\Software\\Testers' >/dev/null 2>&1"
check "... but not a value it kept" test "$(value 'HKCU\Software\Kept' Mode)" = 'REG_SZ    user'
check "... its application key" bash -c "! '$tool' exec '$dev' reg query '$apps' >/dev/null 2>&1"
check "... and its record" test ! -e "$record"
check "removing it again is refused" refuses "is not installed" "$tool" remove "$dev" "Testers Probe"

# --- refusals change nothing -------------------------------------------------------
"$tool" install-cab "$dev" "$work/lean.CAB" >/dev/null 2>&1
before=$(state)
for refusal in "arm|another processor" "later|needs Windows CE 4.20" "cut|damaged or incomplete" \
               "badcontrol|damaged or incomplete"; do
    name=${refusal%%|*}
    out=$("$tool" install-cab "$dev" "$work/$name.CAB" 2>&1)
    check "$name.CAB is refused" test $? -ne 0
    check "... with the installer's one message: ${refusal#*|}" test "$(grep -c 'installer says' <<<"$out")" = 1 -a \
        "$(grep -c -F "${refusal#*|}" <<<"$out")" = 1
    check "... and the device as it was" test "$(state)" = "$before"
done

# --- bad input: one line, nothing changed --------------------------------------------
mkdir -p "$work/emptyset"
for bad in "no device at|install-cab $work/nothing $work/lean.CAB" "no such file|install-cab $dev $work/none.CAB" \
           "not a cabinet|install-cab $dev $work/src/notes.txt" "no deskinstall.exe|desktop-install $dev $work/emptyset"; do
    read -r -a args <<<"${bad#*|}"
    out=$("$tool" "${args[@]}" 2>&1)
    check "${bad%%|*}: refused in one line" test $? -ne 0 -a "$(wc -l <<<"$out")" = 1
    check "... that says so" grep -q "${bad%%|*}" <<<"$out"
done
check "... and the device as it was" test "$(state)" = "$before"

checks_done
