#!/usr/bin/env python3
"""Checks the Pocket PC Kestrum.exe for what a Windows CE 3.0 device needs.

    check_image.py OBJDUMP IMAGE LIST...          checks the image; fails on any fault
    check_image.py --plant OBJDUMP IMAGE LIST...  plants each fault in a copy; fails if one goes unseen

The image must be an ARM (0x1C0) Windows CE GUI program (subsystem 9) for
version 3.00, operating system 3.00 too, with no DllCharacteristics (a CE 3.0
loader predates them), the 64 KiB stack reserve of a CE program's main thread
(the folder walk is made for it), at most 160 KiB, with ARM instructions only
(no bx or blx: the StrongARM of CE 3.0's Pocket PCs is ARMv4 and has no Thumb
state), importing only from coredll, aygshell and commctrl, and only names on
the LIST files. Its resources: plain dialog templates only (CE 3.0 reads no
DIALOGEX), the menu bar record 102 word for word, and the menu bar's label
(string 40020, which the menu bar reads in place) terminated in the string
table.
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
STACK_RESERVE = 64 * 1024
RT_DIALOG, RT_STRING, RT_RCDATA = 5, 6, 10
MENU_BAR_ID = 102
# Menu 102, one button: no image, command 40018, enabled, drop-down and
# auto-size, label string 40020, a reserved zero, popup 0.
MENU_BAR_WORDS = (102, 1, 0xFFFE, 40018, 4, 0x18, 40020, 0, 0)
TOOLS_STRING_ID = 40020
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


def resources(data):
    """{(type, id): (file offset, size)} of each resource, its first language."""
    _, optional = headers(data)
    directory = struct.unpack_from("<I", data, optional + 112)[0]
    if not directory:
        return {}
    base = file_offset(data, directory)

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + numbered):
            yield struct.unpack_from("<II", data, base + offset + 16 + 8 * i)

    found = {}
    for kind, kinds in entries(0):
        for ident, languages in entries(kinds & 0x7FFFFFFF):
            for _, leaf in entries(languages & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                found[(kind, ident)] = (file_offset(data, rva), size)
                break
    return found


def string_slot(data, found, ident):
    """(file offset, length) of string ident in its block of sixteen counted strings."""
    start, size = found[(RT_STRING, ident // 16 + 1)]
    at = start
    for _ in range(ident % 16):
        at += 2 + 2 * struct.unpack_from("<H", data, at)[0]
    length = struct.unpack_from("<H", data, at)[0]
    if at + 2 + 2 * length > start + size:
        raise ValueError("string %d runs past its block" % ident)
    return at, length


def resource_faults(data):
    faults = []
    found = resources(data)
    dialogs = [(ident, start) for (kind, ident), (start, _) in sorted(found.items()) if kind == RT_DIALOG]
    if not dialogs:
        faults.append("no dialog templates")
    for ident, start in dialogs:
        if struct.unpack_from("<HH", data, start) == (1, 0xFFFF):
            faults.append("dialog %d is a DIALOGEX template, which CE 3.0 does not read" % ident)
    if (RT_RCDATA, MENU_BAR_ID) not in found:
        faults.append("no menu bar record %d" % MENU_BAR_ID)
    else:
        start, size = found[(RT_RCDATA, MENU_BAR_ID)]
        words = struct.unpack_from("<%dH" % (size // 2), data, start)
        if size != 2 * len(MENU_BAR_WORDS) or words != MENU_BAR_WORDS:
            faults.append("menu bar record %d holds %s" % (MENU_BAR_ID, list(words)))
    if (RT_STRING, TOOLS_STRING_ID // 16 + 1) not in found:
        faults.append("no string %d" % TOOLS_STRING_ID)
    else:
        at, length = string_slot(data, found, TOOLS_STRING_ID)
        text = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        if text != "Tools\0":
            faults.append("string %d reads %r, not 'Tools' with its terminator" % (TOOLS_STRING_ID, text))
    return faults


def image_faults(data, allowed):
    faults = []
    file_header, optional = headers(data)
    machine = struct.unpack_from("<H", data, file_header)[0]
    major, minor = struct.unpack_from("<HH", data, optional + 48)
    os_version = struct.unpack_from("<HH", data, optional + 40)
    subsystem, characteristics = struct.unpack_from("<HH", data, optional + 68)
    stack = struct.unpack_from("<I", data, optional + 72)[0]
    if machine != MACHINE_ARM:
        faults.append("machine 0x%X, not ARM (0x1C0)" % machine)
    if subsystem != SUBSYSTEM_CE_GUI:
        faults.append("subsystem %d, not Windows CE GUI (9)" % subsystem)
    if (major, minor) != (3, 0):
        faults.append("subsystem version %d.%02d, not 3.00" % (major, minor))
    if os_version != (3, 0):
        faults.append("operating system version %d.%02d, not 3.00" % os_version)
    if stack != STACK_RESERVE:
        faults.append("stack reserve %d bytes, not %d" % (stack, STACK_RESERVE))
    if characteristics:
        faults.append("DllCharacteristics 0x%X, which a CE 3.0 loader does not know" % characteristics)
    if len(data) > MAX_BYTES:
        faults.append("%d bytes, over %d" % (len(data), MAX_BYTES))
    for library, names in sorted(imports(data).items()):
        if library not in LIBRARIES:
            faults.append("imports from %s" % library)
        faults += ["%s imports %s, not on the list" % (library, n) for n in names if n not in allowed]
    return faults + resource_faults(data)


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

    def patched(offset, fmt, *values):
        copy = bytearray(data)
        struct.pack_into(fmt, copy, offset, *values)
        return bytes(copy)

    first = imports(data)["coredll.dll"][0].encode()
    found = resources(data)
    tools, _ = string_slot(data, found, TOOLS_STRING_ID)
    menu_bar, _ = found[(RT_RCDATA, MENU_BAR_ID)]
    dialog = min(start for (kind, _), (start, _) in found.items() if kind == RT_DIALOG)
    yield "x86 machine", patched(file_header, "<H", 0x14C)
    yield "desktop GUI subsystem", patched(optional + 68, "<H", 2)
    yield "subsystem version 4.00", patched(optional + 48, "<H", 4)
    yield "ASLR and DEP marks", patched(optional + 70, "<H", 0x140)
    yield "operating system version 4.00", patched(optional + 40, "<H", 4)
    yield "a 2 MiB stack reserve", patched(optional + 72, "<I", 2 * 1024 * 1024)
    yield "string 40020 without its terminator", patched(tools, "<H", 5)
    yield "a DIALOGEX template", patched(dialog, "<HH", 1, 0xFFFF)
    yield "a menu bar button opening no popup", patched(menu_bar + 16, "<H", 0xFFFF)
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
            found = imports(data)
            print("%s: ARM, CE GUI 3.00, OS 3.00, stack %d KiB, %d bytes, %d imports from %s only from the"
                  " lists; plain dialogs, menu bar %d as given, string %d terminated"
                  % (os.path.basename(path), STACK_RESERVE // 1024, len(data),
                     sum(len(names) for names in found.values()), ", ".join(sorted(found)), MENU_BAR_ID,
                     TOOLS_STRING_ID))
        return 1 if faults else 0

    unseen = 0
    for what, copy in planted(data):
        faults = faults_of(objdump, copy, allowed)
        print("%s: %s" % (what, "; ".join(faults) if faults else "NOT SEEN"))
        unseen += not faults
    return 1 if unseen else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
