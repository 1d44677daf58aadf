#!/bin/bash
# The ARM build's own CPU cost of a purge: the Pocket PC Kestrum.exe cleans
# a store with N old files in \Temp (20 x 20 folders, as purge-bench.sh
# lays them out) on the emulated StrongARM (tools/pocketpc-run), and again
# with \Temp empty; the difference over N is its instructions per file
# purged. Its settings: only the Windows temporary folder, exit when done.
#
#   bench/arm-purge-bench.sh [FILES]   (default 20000; needs build-pocketpc/bin/Kestrum.exe
#                                       or KESTRUM_POCKETPC_EXE)
# Prints figures only; it never fails on timing.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
files=${1:-20000}
image=${KESTRUM_POCKETPC_EXE:-$top/build-pocketpc/bin/Kestrum.exe}
[ -f "$image" ] || { echo "build the Pocket PC Kestrum.exe first: tools/build-pocketpc.sh" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A store with the handheld's folders and N old files under \Temp, and its
# registry: the settings record with the Windows temporary folder only
# (0x2), exit when finished (0x10000), files older than 30 days.
make_device() {
    /usr/bin/python3 - "$work/store" "$work/registry.reg" "$1" <<'PY'
import os, struct, sys
store, reg, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
for d in ("Windows", "Temp", "My Documents"):
    os.makedirs(os.path.join(store, d), exist_ok=True)
old = 978307200  # 2001-01-01
for k in range(n):
    a, b = k % 400 // 20, k % 20
    leaf = os.path.join(store, "Temp", "bench", "level%02d" % a, "sub%02d" % b)
    os.makedirs(leaf, exist_ok=True)
    p = os.path.join(leaf, "file%05d.tmp" % (k // 400))
    with open(p, "wb") as f:
        f.write(b"k" * 100)
    os.utime(p, (old, old))
path = lambda s: (s.encode("utf-16-le")).ljust(520, b"\0")
record = struct.pack("<II", 0x10002, 30) + path("\\My Documents\\Temp") + path("\\My Documents\\Temp1")
with open(reg, "w") as f:
    f.write("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Tarnwick Kestrum]\n")
    f.write('"Settings"=hex:%s\n' % ",".join("%02x" % c for c in record))
PY
}

# run NAME: the tool's figures of one run, in $work/NAME.txt.
run() {
    local t0 t1
    t0=$(date +%s.%N)
    "$top/tools/pocketpc-run" "$image" --store "$work/store" --registry "$work/registry.reg" --quiet -- S \
        >"$work/$1.txt" || true
    t1=$(date +%s.%N)
    echo "$t0 $t1" >"$work/$1.time"
    rm -rf "$work/store"
}
make_device 0 && run empty
make_device "$files" && run full
/usr/bin/python3 - "$work" "$files" <<'PY'
import re, sys
work, n = sys.argv[1], int(sys.argv[2])
def figures(name):
    text = open("%s/%s.txt" % (work, name)).read()
    get = lambda label: int(re.search(r"^%s\t(\d+)" % label, text, re.M).group(1))
    t0, t1 = map(float, open("%s/%s.time" % (work, name)).read().split())
    return dict(total=get("instructions"), deleted=get("files deleted"), listing=get("in folder listings"),
                status=text.strip().splitlines()[-1], seconds=t1 - t0)
empty, full = figures("empty"), figures("full")
per_file = (full["total"] - empty["total"]) / max(full["deleted"], 1)
print("ARM purge benchmark, %d old files in 20 x 20 folders under \\Temp, on an emulated SA-1110" % n)
print("  files deleted              %9d   (%s)" % (full["deleted"], full["status"]))
print("  instructions, whole run    %9d   (empty \\Temp: %d)" % (full["total"], empty["total"]))
print("  instructions per file      %9.0f   (the difference over the files deleted)" % per_file)
print("  in the folder walk         %9.0f   per file (instructions while a listing is open)" % (full["listing"] / max(full["deleted"], 1)))
print("  at 206 MHz, one instruction a cycle: %.1f us per file, %.2f s for %d files" % (
    per_file / 206.0, per_file * n / 206e6, n))
print("  (the emulation itself took %.1f s; that is the host's time, not the handheld's)" % full["seconds"])
PY
