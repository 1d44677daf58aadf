#!/bin/bash
# Purge throughput and memory, measured in one device on identical trees:
#   Kestrum's purge, Wine's own "cmd /c del /s /q" (the fastest deleter on the
#   same Win32 layer) and native "find -mindepth 1 -delete" (the file system's limit).
# Then the peak memory of a purge of 1,000 files against one of 100,000.
#
#   bench/purge-bench.sh [FILES]     (default 20000; needs a build in build/)
# Prints figures only; it never fails on timing.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/devicelib.sh"
files=${1:-20000}
build="$top/build"
[ -f "$build/bin/bench_purge.exe" ] || device_die "build first: cmake --build build"

device_ensure_template "$build/devices/template"
dev=$(mktemp -d "$build/devices/bench.XXXXXX")
trap '( device_env "$dev"; wineserver -k >/dev/null 2>&1 ); device_stop_display; device_unmount_store "$dev"; rm -rf "$dev"' EXIT
# The store stays on the host disk: the figures compare with the host's own tools there.
device_clone "$build/devices/template" "$dev" host
mkdir -p "$dev/store/Tests"
cp "$build/bin/bench_purge.exe" "$dev/store/Tests/"
device_check_sandbox "$dev"
device_start_display
device_env "$dev"
cd "$dev/store"

# A tree of N old files in three levels of folders: 20 x 20 folders, files spread over the leaves.
make_tree() {
    python3 - "$dev/store/bench" "$1" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
old = 978307200  # 2001-01-01
made = 0
for a in range(20):
    for b in range(20):
        leaf = os.path.join(root, "level%02d" % a, "sub%02d" % b)
        os.makedirs(leaf, exist_ok=True)
        count = n // 400 + (1 if a * 20 + b < n % 400 else 0)
        for i in range(count):
            p = os.path.join(leaf, "file%05d.tmp" % i)
            with open(p, "wb") as f:
                f.write(b"k" * 100)
            os.utime(p, (old, old))
            made += 1
assert made == n
PY
}
remaining() { find "$dev/store/bench" -type f | wc -l; }
field() { sed -n "s/.* $1 \([0-9.]*\).*/\1/p"; }

wine 'D:\Tests\bench_purge.exe' run 'cmd /c rem' >/dev/null 2>&1   # warm up the prefix
baseline=$(wine 'D:\Tests\bench_purge.exe' run 'cmd /c rem' 2>/dev/null | field seconds)

make_tree "$files"
out=$(wine 'D:\Tests\bench_purge.exe' purge 'D:\bench' 2>/dev/null)
purge=$(echo "$out" | field seconds)
left_purge=$(remaining)

rm -rf "$dev/store/bench"; make_tree "$files"
del_total=$(wine 'D:\Tests\bench_purge.exe' run 'cmd /c del /s /q D:\bench' 2>/dev/null | field seconds)
del=$(python3 -c "print('%.3f' % max(0.001, $del_total - $baseline))")
left_del=$(remaining)

rm -rf "$dev/store/bench"; make_tree "$files"
t0=$(date +%s.%N); find "$dev/store/bench" -mindepth 1 -delete; t1=$(date +%s.%N)
native=$(python3 -c "print('%.3f' % ($t1 - $t0))")

python3 - "$files" "$purge" "$del" "$native" "$left_purge" "$left_del" "$baseline" <<'PY'
import sys
n = int(sys.argv[1]); purge, dele, native = map(float, sys.argv[2:5])
print("purge benchmark, %d old files in 20 x 20 folders" % n)
print("  kestrum purge     %7.3f s  %9.0f files/s  (files left: %s)" % (purge, n / purge, sys.argv[5]))
print("  wine del /s /q    %7.3f s  %9.0f files/s  (files left: %s; cmd start-up %.3f s subtracted)" % (dele, n / dele, sys.argv[6], float(sys.argv[7])))
print("  native find       %7.3f s  %9.0f files/s" % (native, n / native))
print("  purge / del  time ratio %.2f  (below 1: the purge is faster)" % (purge / dele))
print("  purge / find time ratio %.2f" % (purge / native))
PY

for n in 1000 100000; do
    rm -rf "$dev/store/bench"; make_tree "$n"
    out=$(wine 'D:\Tests\bench_purge.exe' purge 'D:\bench' 2>/dev/null)
    echo "  peak private bytes, purge of $n files: before $(echo "$out" | field peak-before)  after $(echo "$out" | field peak-after)  ($(echo "$out" | field seconds) s)"
done
