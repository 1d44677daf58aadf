#!/bin/bash
# check_sizes.sh OBJDUMP PROGRAM LIMIT [PROGRAM LIMIT ...]: each program within
# its byte budget, and linked for ASLR and DEP: its PE header carries
# DYNAMIC_BASE and NX_COMPAT, and it keeps the relocations ASLR needs.
set -u
objdump=$1
shift
status=0
while [ $# -ge 2 ]; do
    size=$(stat -c %s "$1")
    printf '%-16s %7d bytes (budget %d)\n' "$(basename "$1")" "$size" "$2"
    [ "$size" -le "$2" ] || { echo "  over budget by $((size - $2)) bytes"; status=1; }
    headers=$("$objdump" -p "$1")
    for flag in DYNAMIC_BASE NX_COMPAT; do
        grep -qw "$flag" <<<"$headers" || { echo "  not linked with $flag"; status=1; }
    done
    "$objdump" -h "$1" | grep -q '\.reloc' || { echo "  no relocations: the image cannot move"; status=1; }
    shift 2
done
exit $status
