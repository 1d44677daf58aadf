#!/usr/bin/python3
r"""Descriptions write-cab must refuse, each with one line and no cabinet left.

    write_cab_refusals.py WRITE-CAB

Each case is a sound description with one fault. The sound one is written
first and must succeed, so a writer that refuses everything fails here; then
every case must exit 1, say one line on stderr and remove the cabinet that
the sound run left at the same path.
"""
import os
import subprocess
import sys
import tempfile

SOUND = [
    "provider Tarnwick",
    "application Kestrum",
    "processor 2577",
    "min-ce 3.00",
    r"install-dir %CE1%\Kestrum",
    "file 1 %InstallDir% Kestrum.exe program.exe",
    "file 2 %CE2% Kestrum.htm help.htm",
    "shortcut %CE11% Kestrum 1",
    r'registry HKLM "Software\Tarnwick\Kestrum" Count dword 5',
]

LONG = "x" * 256
# (what the fault is, the line replaced by index or None to add, the new line)
CASES = [
    ("two files with one number", 6, "file 1 %CE2% Kestrum.htm help.htm"),
    ("a file missing", 5, "file 1 %InstallDir% Kestrum.exe missing.exe"),
    ("a file name over 255 characters", 5, "file 1 %InstallDir% " + LONG + " program.exe"),
    ("an installed path over 259 characters", 4, r"install-dir %%CE1%%\%s\%s" % ("y" * 200, "z" * 60)),
    ("a registry key name over 255 characters", 1, "application " + LONG),
    ("a value name over 255 characters", 8, r'registry HKLM Software "%s" dword 5' % LONG),
    ("a name with a character outside ASCII", 1, "application Kestr\u00fcm"),
    ("a file name with a colon", 6, 'file 2 %CE2% "Kes:trum.htm" help.htm'),
    ("file number 0, the control file's", 6, "file 0 %CE2% Kestrum.htm help.htm"),
    ("file number 999, the setup library's", 6, "file 999 %CE2% Kestrum.htm help.htm"),
    ("a folder without a %CEn% base", 6, r"file 2 \Windows Kestrum.htm help.htm"),
    ("a %CEn% beyond 17", 6, "file 2 %CE18% Kestrum.htm help.htm"),
    ("a shortcut to no file", 7, "shortcut %CE11% Kestrum 3"),
    ("two files to one place", 6, "file 2 %InstallDir% kestrum.EXE help.htm"),
    ("the same registry value twice", None, r'registry HKLM "Software\Tarnwick\Kestrum" count sz x'),
    ("a processor over 32 bits", 2, "processor 4294967296"),
    ("a version that is not major.minor", 3, "min-ce 3"),
    ("no provider", 0, ""),
    ("an unknown directive", None, "setup-dll x.dll"),
    ("an open quotation", 7, 'shortcut %CE11% "Kestrum 1'),
]


def write(path, lines):
    with open(path, "w", encoding="utf-8") as stream:
        stream.write("\n".join(lines) + "\n")


def main(argv):
    writer = argv[1]
    faults = []
    with tempfile.TemporaryDirectory() as work:
        for name in ("program.exe", "help.htm"):
            write(os.path.join(work, name), [name])
        description = os.path.join(work, "Kestrum.cab")
        cabinet = os.path.join(work, "Kestrum.CAB")
        write(description, SOUND)
        sound = subprocess.run([writer, description, cabinet], capture_output=True, text=True)
        if sound.returncode != 0 or not os.path.isfile(cabinet):
            print("FAULT: the sound description fails: %s" % sound.stderr.strip())
            return 1
        for what, index, line in CASES:
            lines = list(SOUND)
            if index is None:
                lines.append(line)
            else:
                lines[index] = line
            write(description, lines)
            with open(cabinet, "wb") as stream:
                stream.write(b"an older cabinet")
            run = subprocess.run([writer, description, cabinet], capture_output=True, text=True)
            said = run.stderr.splitlines()
            if run.returncode != 1 or len(said) != 1 or os.path.exists(cabinet):
                faults.append("%s: exit %d, %d line(s) said, cabinet %s"
                              % (what, run.returncode, len(said), "left" if os.path.exists(cabinet) else "gone"))
            leftovers = [n for n in os.listdir(work) if n.startswith(".write-cab-")]
            if leftovers:
                faults.append("%s: left %s" % (what, leftovers))
    for fault in faults:
        print("FAULT: %s" % fault)
    print("%d refusals checked, %d fault(s)" % (len(CASES), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
