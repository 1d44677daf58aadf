#!/bin/bash
# check_sizes.sh PROGRAM LIMIT [PROGRAM LIMIT ...]: each program within its byte budget.
set -u
status=0
while [ $# -ge 2 ]; do
    size=$(stat -c %s "$1")
    printf '%-16s %7d bytes (budget %d)\n' "$(basename "$1")" "$size" "$2"
    [ "$size" -le "$2" ] || { echo "  over budget by $((size - $2)) bytes"; status=1; }
    shift 2
done
exit $status
