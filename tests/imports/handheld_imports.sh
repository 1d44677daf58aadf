#!/bin/bash
# Fails when a handheld library outside the platform imports a function that
# is not on the list of Windows CE 3.0 functions Kestrum may call: a system
# call (an undefined __imp__ symbol) or a C runtime function the program takes
# from the runtime's DLL (a plain undefined symbol that the runtime's import
# library provides).
#   handheld_imports.sh NM PREFIX LIST CRT_IMPORT_LIBRARY LIBRARY...
# PREFIX is what the target puts before a C name: "_" for 32-bit x86, "" for x86-64.
set -u
nm=$1 p=$2 list=$3 crt=$4
shift 4
allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | grep -v '^$' | sort -u)
runtime=$("$nm" "$crt" 2>/dev/null | sed -n "s/.* I __imp_$p\\(.*\\)\$/\\1/p" | sort -u)
[ -n "$runtime" ] || { echo "no imports read from $crt"; exit 1; }
bad=0
for library in "$@"; do
    undefined=$("$nm" -u "$library") || { echo "cannot read $library"; exit 1; }
    undefined=$(echo "$undefined" | sed -n 's/.* U \(.*\)$/\1/p' | sort -u)
    # System calls show as __imp_ symbols, 32-bit stdcall ones decorated @N.
    calls=$(echo "$undefined" | sed -n "s/^__imp_$p\\(.*\\)\$/\\1/p" | sed 's/@[0-9]*$//')
    # C runtime functions show undecorated, with the target's prefix.
    crt_calls=$(comm -12 <(echo "$undefined" | sed -n "s/^$p\\([^_].*\\)\$/\\1/p" | sort -u) <(echo "$runtime"))
    imports=$(printf '%s\n%s\n' "$calls" "$crt_calls" | grep -v '^$' | sort -u)
    extra=$(comm -23 <(echo "$imports") <(echo "$allowed") | grep -v '^$')
    if [ -n "$extra" ]; then
        echo "$(basename "$library") calls what is not on $(basename "$list"):"
        echo "$extra" | sed 's/^/  /'
        bad=1
    fi
done
[ $bad = 0 ] && echo "$# libraries call only the $(echo "$allowed" | wc -l) listed Windows CE 3.0 functions"
exit $bad
