#!/bin/bash
# Start-up time (process start to the first painted, idle Kestrum) against a
# plain windowed program on the same Wine, and the time a full cleaning run
# takes beyond its designed pauses, on a seeded demo device.
#   bench/startup-run-bench.sh [ROUNDS]     (needs a build in build/)
# Prints figures only; it never fails on timing.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
rounds=${1:-10}
for f in Kestrum.exe bench_start.exe demoapp.exe; do
    [ -f "$build/bin/$f" ] || { echo "build first: $f is missing" >&2; exit 1; }
done
dev=$(mktemp -d "$build/devices/bench-start.XXXXXX")
rmdir "$dev"
trap '"$top/tools/device" destroy "$dev" >/dev/null 2>&1' EXIT
"$top/tools/device" create "$dev" >/dev/null
mkdir -p "$dev/store/Tests"
cp "$build/bin/demoapp.exe" "$dev/store/Tests/"
"$top/tools/device" exec "$dev" "$build/bin/bench_start.exe" start "$rounds" 2>/dev/null | tr -d '\r'
"$top/tools/device" seed "$dev" >/dev/null
"$top/tools/device" exec "$dev" "$build/bin/bench_start.exe" run 2>/dev/null | tr -d '\r'
