#!/bin/bash
# Fails when a handheld library outside the platform imports a function that
# is not on the list of Windows CE 3.0 functions Kestrum may call.
#   handheld_imports.sh NM LIST LIBRARY...
set -u
nm=$1 list=$2
shift 2
allowed=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | grep -v '^$' | sort -u)
bad=0
for library in "$@"; do
    # Imports show as undefined __imp__ symbols, stdcall ones decorated @N.
    imports=$("$nm" -u "$library") || { echo "cannot read $library"; exit 1; }
    imports=$(echo "$imports" | sed -n 's/.* U __imp__\(.*\)$/\1/p' | sed 's/@[0-9]*$//' | sort -u)
    extra=$(comm -23 <(echo "$imports") <(echo "$allowed") | grep -v '^$')
    if [ -n "$extra" ]; then
        echo "$(basename "$library") calls what is not on $(basename "$list"):"
        echo "$extra" | sed 's/^/  /'
        bad=1
    fi
done
[ $bad = 0 ] && echo "$# libraries call only the $(echo "$allowed" | wc -l) listed Windows CE 3.0 functions"
exit $bad
