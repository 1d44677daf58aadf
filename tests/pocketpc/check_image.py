#!/usr/bin/env python3
"""Checks the Pocket PC Kestrum.exe for what a Windows CE 3.0 device needs.

    check_image.py OBJDUMP IMAGE LIST...          checks the image; fails on any fault
    check_image.py --plant OBJDUMP IMAGE LIST...  plants each fault in a copy; fails if one goes unseen

The image must be an ARM (0x1C0) Windows CE GUI program (subsystem 9) for
version 3.00, with no DllCharacteristics (a CE 3.0 loader predates them), at
most 160 KiB, with ARM instructions only (no bx or blx: the StrongARM of CE
3.0's Pocket PCs is ARMv4 and has no Thumb state), importing only from
coredll, aygshell and commctrl, and only names on the LIST files.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

MACHINE_ARM = 0x1C0
SUBSYSTEM_CE_GUI = 9
MAX_BYTES = 160 * 1024
LIBRARIES = {"coredll.dll", "aygshell.dll", "commctrl.dll"}
CONDITIONS = "eq|ne|cs|cc|hs|lo|mi|pl|vs|vc|hi|ls|ge|lt|gt|le|al"


def headers(data):
    """Offsets of the file header and the optional header."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    return pe + 4, pe + 24


def file_offset(data, rva):
    """Where in the file the image address rva lies."""
    file_header, optional = headers(data)
    sections, optional_size = struct.unpack_from("<H12xH", data, file_header + 2)
    table = optional + optional_size
    for i in range(sections):
        size, address, raw_size, raw = struct.unpack_from("<4I", data, table + 40 * i + 8)
        if address <= rva < address + max(size, raw_size):
            return rva - address + raw
    raise ValueError("address 0x%x is in no section" % rva)


def text(data, rva):
    start = file_offset(data, rva)
    return data[start:data.index(b"\0", start)].decode("ascii")


def imports(data):
    """{library: [names]} from the import directory; an ordinal shows as '#N'."""
    _, optional = headers(data)
    directory = struct.unpack_from("<I", data, optional + 104)[0]
    found = {}
    entry = file_offset(data, directory)
    while True:
        lookup, _, _, name, thunks = struct.unpack_from("<5I", data, entry)
        if name == 0:
            return found
        names = found.setdefault(text(data, name).lower(), [])
        at = file_offset(data, lookup or thunks)
        while True:
            thunk = struct.unpack_from("<I", data, at)[0]
            if thunk == 0:
                break
            names.append("#%d" % (thunk & 0xFFFF) if thunk & 0x80000000 else text(data, thunk + 2))
            at += 4
        entry += 20


def image_faults(data, allowed):
    faults = []
    file_header, optional = headers(data)
    machine = struct.unpack_from("<H", data, file_header)[0]
    major, minor = struct.unpack_from("<HH", data, optional + 48)
    subsystem, characteristics = struct.unpack_from("<HH", data, optional + 68)
    if machine != MACHINE_ARM:
        faults.append("machine 0x%X, not ARM (0x1C0)" % machine)
    if subsystem != SUBSYSTEM_CE_GUI:
        faults.append("subsystem %d, not Windows CE GUI (9)" % subsystem)
    if (major, minor) != (3, 0):
        faults.append("subsystem version %d.%02d, not 3.00" % (major, minor))
    if characteristics:
        faults.append("DllCharacteristics 0x%X, which a CE 3.0 loader does not know" % characteristics)
    if len(data) > MAX_BYTES:
        faults.append("%d bytes, over %d" % (len(data), MAX_BYTES))
    for library, names in sorted(imports(data).items()):
        if library not in LIBRARIES:
            faults.append("imports from %s" % library)
        faults += ["%s imports %s, not on the list" % (library, n) for n in names if n not in allowed]
    return faults


def instruction_faults(objdump, path):
    run = subprocess.run([objdump, "-d", path], capture_output=True, text=True)
    if run.returncode != 0:
        return ["the ARM disassembler cannot read the image: %s" % run.stderr.strip()]
    interworking = [line.strip() for line in run.stdout.splitlines()
                    if re.search(r"\tbl?x(%s)?\s" % CONDITIONS, line)]
    return ["Thumb interworking instruction: %s" % line for line in interworking[:5]]


def faults_of(objdump, data, allowed):
    with tempfile.NamedTemporaryFile(suffix=".exe", delete=False) as image:
        image.write(data)
    try:
        return image_faults(data, allowed) + instruction_faults(objdump, image.name)
    finally:
        os.unlink(image.name)


def planted(data):
    """Copies of the image, each with one fault a real build could make."""
    file_header, optional = headers(data)
    text_start = file_offset(data, struct.unpack_from("<I", data, optional + 20)[0])

    def patched(offset, fmt, value):
        copy = bytearray(data)
        struct.pack_into(fmt, copy, offset, value)
        return bytes(copy)

    first = imports(data)["coredll.dll"][0].encode()
    yield "x86 machine", patched(file_header, "<H", 0x14C)
    yield "desktop GUI subsystem", patched(optional + 68, "<H", 2)
    yield "subsystem version 4.00", patched(optional + 48, "<H", 4)
    yield "ASLR and DEP marks", patched(optional + 70, "<H", 0x140)
    yield "a Thumb return (bx lr)", patched(text_start, "<I", 0xE12FFF1E)
    yield "a name not on the list", data.replace(b"\0" + first + b"\0", b"\0" + b"X" * len(first) + b"\0", 1)
    yield "a desktop library", re.sub(rb"(?i)coredll\.dll", b"kernel32.dl", data, count=1)
    yield "an image over 160 KiB", data + bytes(MAX_BYTES)


def main(argv):
    plant = argv[:1] == ["--plant"]
    if plant:
        argv = argv[1:]
    objdump, path, lists = argv[0], argv[1], argv[2:]
    allowed = set()
    for name in lists:
        with open(name) as f:
            allowed |= {line.split("#")[0].strip() for line in f} - {""}
    with open(path, "rb") as f:
        data = f.read()

    if not plant:
        faults = faults_of(objdump, data, allowed)
        for fault in faults:
            print(fault)
        if not faults:
            print("%s: ARM, CE GUI 3.00, %d bytes, imports %s only from the lists"
                  % (os.path.basename(path), len(data), ", ".join(sorted(imports(data)))))
        return 1 if faults else 0

    unseen = 0
    for what, copy in planted(data):
        faults = faults_of(objdump, copy, allowed)
        print("%s: %s" % (what, "; ".join(faults) if faults else "NOT SEEN"))
        unseen += not faults
    return 1 if unseen else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
