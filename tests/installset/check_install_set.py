#!/usr/bin/python3
r"""Checks a built Kestrum cabinet and install set by reading them back.

    check_install_set.py cabinet CAB PROCESSOR PROGRAM HELP
    check_install_set.py set SET_DIR CAB DESKINSTALL [--x86-gui]

PROCESSOR "device" stands for what the emulated device running PROGRAM
reports (GetSystemInfo's dwProcessorType): 586 for an i386 program, 8664
for an x86-64 one.

cabinet: the cabinet unpacks with cabextract, its control file .000 first;
the .000 (read here on its own, from the public description of the format)
says provider "Tarnwick", application "Kestrum", PROCESSOR, CE 3.00 and up,
Kestrum.exe into %CE1%\Kestrum, Kestrum.htm into %CE2%, a shortcut "Kestrum"
in %CE11% to Kestrum.exe and no registry entries; the files in it are byte
for byte PROGRAM and HELP.

set: SET_DIR holds Setup.ini naming CAB's file name, a copy of CAB, and a
copy of DESKINSTALL; with --x86-gui that one is an i386 (0x14C) program of
the Windows GUI subsystem (2), and the set has its README.txt.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

faults = []


def expect(condition, what):
    if not condition:
        faults.append(what)


def read_control(data):
    """The .000's header fields and sections as plain values."""
    head = struct.unpack_from("<4s11I6H6I8H", data, 0)
    (sig, _, length, _, _, processor, min_major, min_minor, max_major, max_minor, _, _) = head[:12]
    counts = head[12:18]
    offsets = head[18:24]
    app_at, app_len, prov_at, prov_len = head[24:28]
    text = lambda at, n: data[at:at + n - 1].decode("ascii") if n else ""
    pos = offsets[0]
    strings = {}
    for _ in range(counts[0]):
        sid, n = struct.unpack_from("<HH", data, pos)
        strings[sid] = text(pos + 4, n)
        pos += 4 + n

    def id_list(at, n):
        ids = struct.unpack_from("<%dH" % (n // 2), data, at)
        assert ids[-1] == 0, "a string-id list not ending in 0"
        return [strings[i] for i in ids[:-1]]

    dirs, pos = {}, offsets[1]
    for _ in range(counts[1]):
        did, n = struct.unpack_from("<HH", data, pos)
        dirs[did] = "\\".join(id_list(pos + 4, n))
        pos += 4 + n
    files, pos = {}, offsets[2]
    for _ in range(counts[2]):
        fid, did, _, _, n = struct.unpack_from("<HHHIH", data, pos)
        files[fid] = (dirs[did], text(pos + 12, n))
        pos += 12 + n
    links, pos = [], offsets[5]
    for _ in range(counts[5]):
        _, _, base, target, kind, n = struct.unpack_from("<6H", data, pos)
        links.append(("%%CE%d%%" % base if base else "%InstallDir%", "\\".join(id_list(pos + 12, n)), target, kind))
        pos += 12 + n
    return {
        "signature": sig, "length": length, "processor": processor,
        "versions": (min_major, min_minor, max_major, max_minor),
        "application": text(app_at, app_len), "provider": text(prov_at, prov_len),
        "install_dir": dirs.get(1), "files": files, "links": links,
        "registry": (counts[3], counts[4]),
    }


def machine(path):
    with open(path, "rb") as stream:
        image = stream.read(4096)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    return struct.unpack_from("<H", image, pe + 4)[0], struct.unpack_from("<H", image, pe + 24 + 68)[0]


def check_cabinet(cab, processor, program, help_file):
    if processor == "device":
        processor = {0x14C: 586, 0x8664: 8664}.get(machine(program)[0], -1)
    else:
        processor = int(processor)
    listing = subprocess.run(["cabextract", "-l", cab], capture_output=True, text=True)
    expect(listing.returncode == 0, "cabextract cannot list %s: %s" % (cab, listing.stderr.strip()))
    names = re.findall(r"\|\s*(\S+)\s*$", listing.stdout, re.M)[1:]
    expect(bool(names) and names[0].endswith(".000"), "the first file is not the .000: %s" % names)
    with tempfile.TemporaryDirectory() as out:
        unpacked = subprocess.run(["cabextract", "-q", "-d", out, cab], capture_output=True, text=True)
        expect(unpacked.returncode == 0, "cabextract cannot unpack %s: %s" % (cab, unpacked.stderr.strip()))
        by_number = {int(n[-3:]): os.path.join(out, n) for n in names}
        if 0 not in by_number or faults:
            return
        with open(by_number[0], "rb") as stream:
            data = stream.read()
        control = read_control(data)
        expect(control["signature"] == b"MSCE", "signature %r" % control["signature"])
        expect(control["length"] == len(data), "length %d for %d bytes" % (control["length"], len(data)))
        expect(control["processor"] == processor, "processor %d, not %d" % (control["processor"], processor))
        expect(control["versions"] == (3, 0, 0, 0), "CE versions %s, not 3.00 and up" % (control["versions"],))
        expect(control["provider"] == "Tarnwick", "provider %r" % control["provider"])
        expect(control["application"] == "Kestrum", "application %r" % control["application"])
        expect(control["install_dir"] == "%CE1%\\Kestrum", "install folder %r" % control["install_dir"])
        expect(control["registry"] == (0, 0), "registry hives and values %s, not none" % (control["registry"],))
        wanted = {("%CE1%\\Kestrum", "Kestrum.exe"): program, ("%CE2%", "Kestrum.htm"): help_file}
        placed = {place: number for number, place in control["files"].items()}
        expect(set(placed) == set(wanted), "files %s" % sorted(control["files"].values()))
        expect(sorted(by_number) == sorted([0] + list(control["files"])),
               "cabinet holds %s for the files %s" % (names, sorted(control["files"])))
        for place, source in wanted.items():
            number = placed.get(place)
            if number in by_number:
                with open(by_number[number], "rb") as a, open(source, "rb") as b:
                    expect(a.read() == b.read(), "%s in the cabinet is not %s" % (place[1], source))
        exe = placed.get(("%CE1%\\Kestrum", "Kestrum.exe"))
        expect(control["links"] == [("%CE11%", "Kestrum", exe, 1)], "shortcuts %s" % control["links"])


def check_set(set_dir, cab, deskinstall, x86_gui):
    def read(path):
        with open(path, "rb") as stream:
            return stream.read()

    setup = os.path.join(set_dir, "Setup.ini")
    expect(os.path.isfile(setup), "no Setup.ini")
    if os.path.isfile(setup):
        lines = read(setup).decode("ascii").split("\r\n")
        sections, section = {}, None
        for line in lines:
            if line.startswith("["):
                section = sections.setdefault(line.strip("[]"), {})
            elif "=" in line:
                key, _, value = line.partition("=")
                section[key.strip()] = value.strip()
        expect(sections.get("CEAppManager") == {"Version": "1.0", "Component": "Kestrum"},
               "[CEAppManager] is %s" % sections.get("CEAppManager"))
        kestrum = sections.get("Kestrum", {})
        expect(kestrum.get("CabFiles") == os.path.basename(cab) and kestrum.get("Description"),
               "[Kestrum] is %s" % kestrum)
    for source in (cab, deskinstall):
        copy = os.path.join(set_dir, os.path.basename(source))
        expect(os.path.isfile(copy) and read(copy) == read(source), "%s is not a copy of %s" % (copy, source))
    if x86_gui:
        kind, subsystem = machine(deskinstall)
        expect(kind == 0x14C and subsystem == 2,
               "deskinstall is machine 0x%X, subsystem %d, not i386's 0x14C and 2" % (kind, subsystem))
        expect(os.path.isfile(os.path.join(set_dir, "README.txt")), "no README.txt")
    names = set(os.listdir(set_dir))
    expected = {"Setup.ini", os.path.basename(cab), "deskinstall.exe"} | ({"README.txt"} if x86_gui else set())
    expect(names == expected, "the set holds %s" % sorted(names))


def main(argv):
    if argv[1:2] == ["cabinet"] and len(argv) == 6:
        check_cabinet(argv[2], argv[3], argv[4], argv[5])
    elif argv[1:2] == ["set"] and len(argv) in (5, 6):
        check_set(argv[2], argv[3], argv[4], argv[5:] == ["--x86-gui"])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for fault in faults:
        print("FAULT: %s" % fault)
    print("%s: %s" % (argv[1], "%d fault(s)" % len(faults) if faults else "as built"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
