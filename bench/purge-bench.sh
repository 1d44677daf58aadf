#!/bin/bash
# Purge throughput and memory, measured in one device on identical trees of
# old files in folder 1 (D:\My Documents\Temp), each deleter timed from its
# process's start to its end, ROUNDS rounds, medians:
#   Kestrum S, set to purge folder 1 only and end when the run is over;
#   the bare loop: FindFirstFile/FindNextFile/DeleteFile and nothing else,
#     given the drive-absolute folder (bench_purge bare);
#   Wine's own "cmd /c del /s /q" (the usual deleter on the same Win32 layer);
#   native "find -mindepth 1 -delete" (the file system's limit).
# Then the pieces between the bare loop and Kestrum, each alone: the bare loop
# given the root-relative folder Kestrum is given (the path form), and the
# engine's purge in a console program without a window (the program's own
# work between the calls). Last, the peak memory of a purge of 1,000 files
# against one of 100,000.
#
#   bench/purge-bench.sh [FILES [ROUNDS]]   (default 20000 files, 5 rounds;
#                                            needs a build in build/)
# With PURGE_BENCH_BEFORE=path/to/Kestrum.exe that build runs beside the
# current one, in the same rounds, as "Kestrum S, before": a change's figures
# before and after from one run.
# Prints figures only; it never fails on timing.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/devicelib.sh"
files=${1:-20000}
rounds=${2:-5}
build="$top/build"
for exe in bench_purge.exe Kestrum.exe; do
    [ -f "$build/bin/$exe" ] || device_die "build first: cmake --build build ($exe is missing)"
done

device_ensure_template "$build/devices/template"
dev=$(mktemp -d "$build/devices/bench.XXXXXX")
trap '( device_env "$dev"; wineserver -k >/dev/null 2>&1 ); device_stop_display; device_unmount_store "$dev"; rm -rf "$dev"' EXIT
# A store of its own in memory, large enough for the 100,000-file tree: the
# figures are the file system's and Wine's, not a shared disk's. With
# PURGE_BENCH_STORE=host the store is a folder on the host disk instead.
device_clone "$build/devices/template" "$dev" "$([ "${PURGE_BENCH_STORE:-}" = host ] && echo host || echo 1G)"
mkdir -p "$dev/store/Tests" "$dev/store/Program Files/Kestrum"
cp "$build/bin/bench_purge.exe" "$dev/store/Tests/"
cp "$build/bin/Kestrum.exe" "$dev/store/Program Files/Kestrum/"
before=${PURGE_BENCH_BEFORE:-}
if [ -n "$before" ]; then
    [ -f "$before" ] || device_die "PURGE_BENCH_BEFORE: no such file: $before"
    mkdir -p "$dev/store/Program Files/Kestrum/Before"
    cp "$before" "$dev/store/Program Files/Kestrum/Before/Kestrum.exe"
fi
device_check_sandbox "$dev"
device_start_display
device_env "$dev"
cd "$dev/store"

tree="$dev/store/My Documents/Temp"
# A tree of N old files in three levels of folders: 20 x 20 folders, files spread over the leaves.
make_tree() {
    rm -rf "$tree"
    python3 - "$tree" "$1" <<'PY'
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
remaining() { find "$tree" -type f | wc -l; }
field() { sed -n "s/.* $1 \([0-9.]*\).*/\1/p"; }
bench() { wine 'D:\Tests\bench_purge.exe' "$@" 2>/dev/null; }

# Each deleter: a name and the command line bench_purge runs and times.
names=(kestrum bare del bare-rooted engine)
[ -n "$before" ] && names=(before "${names[@]}")
declare -A command=(
    [before]='"D:\Program Files\Kestrum\Before\Kestrum.exe" S'
    [kestrum]='"D:\Program Files\Kestrum\Kestrum.exe" S'
    [bare]='D:\Tests\bench_purge.exe bare "D:\My Documents\Temp"'
    [del]='cmd /c del /s /q "D:\My Documents\Temp"'
    [bare-rooted]='D:\Tests\bench_purge.exe bare "\My Documents\Temp"'
    [engine]='D:\Tests\bench_purge.exe purge "\My Documents\Temp"'
)
declare -A times=() left=()

bench settings '\My Documents\Temp'
bench run 'cmd /c rem' >/dev/null   # warm up the prefix
for round in $(seq 1 "$rounds"); do
    for name in "${names[@]}"; do
        make_tree "$files"
        t=$(bench run "${command[$name]}" | sed -n 's/^run seconds \([0-9.]*\).*/\1/p')
        times[$name]="${times[$name]:-} $t"
        left[$name]="${left[$name]:-} $(remaining)"
    done
    make_tree "$files"
    t0=$(date +%s.%N); find "$tree" -mindepth 1 -delete; t1=$(date +%s.%N)
    times[find]="${times[find]:-} $(python3 -c "print('%.3f' % ($t1 - $t0))")"
    left[find]="${left[find]:-} $(remaining)"
done

python3 - "$files" "$rounds" "${names[@]}" find <<PY
import statistics, sys
n, rounds, names = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
times = {$(for k in "${!times[@]}"; do printf '"%s": [%s], ' "$k" "$(echo ${times[$k]} | tr ' ' ',')"; done)}
left = {$(for k in "${!left[@]}"; do printf '"%s": "%s", ' "$k" "$(echo ${left[$k]})"; done)}
label = {
    "before": "Kestrum S, before", "kestrum": "Kestrum S", "bare": "bare loop (D:\\\\...)", "del": "wine del /s /q",
    "find": "native find", "bare-rooted": "bare loop (\\\\...)", "engine": "engine, no window",
}
median = {k: statistics.median(v) for k, v in times.items()}
print("purge benchmark, %d old files in 20 x 20 folders, %d rounds, medians, process start included" % (n, rounds))
for k in [k for k in ["before", "kestrum", "bare", "del", "find"] if k in median]:
    print("  %-22s %7.3f s  %9.0f files/s  (files left: %s)" % (label[k], median[k], n / median[k], left[k]))
if "before" in median:
    print("  Kestrum before / bare loop  time ratio %.2f" % (median["before"] / median["bare"]))
print("  Kestrum / bare loop  time ratio %.2f" % (median["kestrum"] / median["bare"]))
print("  Kestrum / del        time ratio %.2f" % (median["kestrum"] / median["del"]))
print("  Kestrum / find       time ratio %.2f" % (median["kestrum"] / median["find"]))
print("  the pieces between the bare loop and Kestrum, each alone:")
for k in ["bare-rooted", "engine"]:
    print("  %-22s %7.3f s  (%+.0f us a file against the bare loop; files left: %s)"
          % (label[k], median[k], 1e6 * (median[k] - median["bare"]) / n, left[k]))
print("  every round, seconds:")
for k in names:
    print("    %-12s %s" % (k, " ".join("%.3f" % t for t in times[k])))
PY

for n in 1000 100000; do
    make_tree "$n"
    out=$(bench purge '\My Documents\Temp')
    echo "  peak private bytes, purge of $n files: before $(echo "$out" | field peak-before)  after $(echo "$out" | field peak-after)  ($(echo "$out" | field seconds) s)"
done
