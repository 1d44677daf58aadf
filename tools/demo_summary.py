#!/usr/bin/env python3
"""Puts Kestrum's Report beside what a cleaning really removed from a device.

    demo_summary.py BEFORE.txt AFTER.txt TRACE.txt

BEFORE and AFTER are `tools/device measure` listings taken around the run;
TRACE is Wine's +text trace of the run, in which every report line Kestrum
drew appears as a DrawText call. Prints both side by side and exits 1 when a
figure does not match what went away, or when anything outside the cleaning
targets went away.
"""
import re
import sys

# The folders the cleaning works in, as the device names them.
AREAS = [
    "\\Temp",
    "\\My Documents\\Temp",
    "\\My Documents\\Temp1",
    "\\Windows\\Profiles\\guest\\Temporary Internet Files",
    "\\Windows\\Temporary Internet Files",
    "\\Windows\\Profiles\\guest\\History",
    "\\Windows\\History",
    "\\Windows\\Profiles\\guest\\Cookies",
    "\\Windows\\Cookies",
    "\\Windows\\AppMgr",
    "\\Windows\\AppMgr\\Install",
    "\\Windows\\Start Menu",
    "\\Windows\\StartUp",
]

# Report lines as drawn, label first; the value follows tabs or spaces.
REPORT_LABELS = [
    ("Tasks performed", "tasks"),
    ("Applications closed", "apps"),
    ("Dead registry keys deleted", "keys"),
    ("Dead shortcuts deleted", "shortcuts"),
    ("Folders scanned", "scanned"),
    ("Temporary folders deleted", "folders"),
    ("Temporary files deleted", "files"),
    ("Files used by system", "in_use"),
    ("Total bytes reclaimed", "bytes"),
    ("Memory available", "memory"),
]

TRACE_TEXT = re.compile(r'DrawText\w*\s+L"((?:[^"\\]|\\.)*)"')


def read_inventory(path):
    """Items of a `tools/device measure` listing, by kind."""
    inv = {"file": {}, "dir": set(), "key": set(), "address": set(), "running": set()}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            kind = parts[0]
            if kind == "file" and len(parts) == 3:
                inv["file"][parts[1]] = int(parts[2])
            elif kind in inv and len(parts) >= 2 and kind != "file":
                inv[kind].add(parts[1])
    return inv


ESCAPES = {"t": "\t", "n": "\n", "r": "\r"}


def unescape(text):
    """Undoes Wine's escaping of traced strings (\\t, \\n, \\\\, \\", \\xNNNN)."""
    def one(m):
        if m.group(2):
            return chr(int(m.group(2), 16))
        return ESCAPES.get(m.group(1), m.group(1))
    return re.sub(r"\\(x([0-9a-fA-F]{4})|.)", one, text)


def read_report(trace_lines):
    """The last value drawn for each report line, as text."""
    figures = {}
    for line in trace_lines:
        m = TRACE_TEXT.search(line)
        if not m:
            continue
        text = unescape(m.group(1))
        for label, key in REPORT_LABELS:
            if text.startswith(label + ":"):
                figures[key] = text[len(label) + 1:].strip()
    return figures


def area_of(path):
    """The cleaning folder that holds path (the deepest one), or None."""
    best = None
    for area in AREAS:
        if path.startswith(area + "\\") and (best is None or len(area) > len(best)):
            best = area
    return best


def summarise(before, after, figures):
    """Lines to print and the number of figures that do not add up."""
    removed = {p: s for p, s in before["file"].items() if p not in after["file"]}
    per_area = {}
    elsewhere = []
    for path, size in sorted(removed.items()):
        area = area_of(path)
        if area is None:
            elsewhere.append(path)
            continue
        n, b = per_area.get(area, (0, 0))
        per_area[area] = (n + 1, b + size)
    dirs_removed = sorted(before["dir"] - after["dir"])
    dirs_elsewhere = [d for d in dirs_removed if area_of(d) is None]
    keys_removed = sorted(before["key"] - after["key"])
    shortcuts_removed = sorted(p for p in removed if p.lower().endswith(".lnk"))
    addresses_removed = sorted(before["address"] - after["address"])
    closed = sorted(before["running"] - after["running"])
    total_files = sum(n for n, _ in per_area.values())
    total_bytes = sum(b for _, b in per_area.values())

    out = ["What went away on the device:"]
    for area in AREAS:
        if area in per_area:
            n, b = per_area[area]
            out.append("  %-52s %3d files %8d bytes" % (area, n, b))
    out.append("  %-52s %3d files %8d bytes" % ("total", total_files, total_bytes))
    out.append("  folders removed: %d" % len(dirs_removed))
    out.append("  application keys removed: %d (%s)" % (len(keys_removed), ", ".join(keys_removed) or "none"))
    out.append("  shortcuts removed: %d" % len(shortcuts_removed))
    out.append("  address history values removed: %d of %d" % (len(addresses_removed), len(before["address"])))
    out.append("  demo programs closed: %d (%s)" % (len(closed), ", ".join(closed) or "none"))
    if elsewhere or dirs_elsewhere:
        out.append("  REMOVED OUTSIDE THE CLEANING FOLDERS: %s" % ", ".join(elsewhere + dirs_elsewhere))

    def as_int(key):
        try:
            return int(figures.get(key, ""))
        except ValueError:
            return None

    comparisons = [
        ("Temporary files deleted", "files", total_files, "files removed"),
        ("Total bytes reclaimed", "bytes", total_bytes, "bytes of the removed files"),
        ("Temporary folders deleted", "folders", len(dirs_removed), "folders removed"),
        ("Dead registry keys deleted", "keys", len(keys_removed), "application keys removed"),
        ("Dead shortcuts deleted", "shortcuts", len(shortcuts_removed), "shortcuts removed"),
        ("Applications closed", "apps", len(closed), "demo programs closed"),
    ]
    mismatches = 1 if (elsewhere or dirs_elsewhere) else 0
    out.append("")
    out.append("Kestrum's Report beside the device:")
    for label, key in REPORT_LABELS:
        shown = figures.get(key, "(not drawn)")
        line = "  %-28s %10s" % (label + ":", shown)
        for c_label, c_key, measured, what in comparisons:
            if c_key == key:
                ok = as_int(key) == measured
                mismatches += 0 if ok else 1
                line += "   %s %d %s" % ("==" if ok else "!=", measured, what)
        out.append(line)
    return out, mismatches


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    before = read_inventory(argv[1])
    after = read_inventory(argv[2])
    with open(argv[3], encoding="utf-8", errors="replace") as f:
        figures = read_report(f)
    lines, mismatches = summarise(before, after, figures)
    print("\n".join(lines))
    if mismatches:
        print("\n%d figure(s) do not add up." % mismatches)
        return 1
    print("\nEvery figure adds up.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
