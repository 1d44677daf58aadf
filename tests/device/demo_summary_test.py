#!/usr/bin/env python3
"""The demo's arithmetic: reading the Report from Wine's +text trace, and
measuring what went away between two device listings."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import demo_summary as ds  # noqa: E402

# Lines as Wine 8 traces DrawTextExW, mixed with other programs' drawing.
TRACE = r'''0024:trace:text:DrawTextExW L"Cleaning Progress", -1, [(0,0)-(240,30)] 00000025
0024:trace:text:DrawTextExW L"Tasks performed:\t\t0", -1, [(20,38)-(240,298)] 00000850
0030:trace:text:DrawTextExW L"Pocket Notes", -1, [(0,0)-(232,250)] 00000025
0024:trace:text:DrawTextExW L"Tasks performed:\t\t11", -1, [(20,38)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Applications closed:\t\t2", -1, [(20,65)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Dead registry keys deleted:\t2", -1, [(20,82)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Dead shortcuts deleted:\t1", -1, [(20,99)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Folders scanned:\t\t9", -1, [(20,126)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Temporary folders deleted:\t1", -1, [(20,143)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Temporary files deleted:\t3", -1, [(20,160)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Files used by system:\t\t0", -1, [(20,177)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Total bytes reclaimed:  1300", -1, [(20,204)-(240,298)] 00000850
0024:trace:text:DrawTextExW L"Memory available:\t12.50 MB", -1, [(20,221)-(240,298)] 00000850
'''.splitlines()

BEFORE = {
    "file": {"\\Temp\\old.tmp": 1000, "\\Temp\\new.tmp": 5, "\\Temp\\Sub\\x.bin": 200,
             "\\Windows\\Start Menu\\Dead.lnk": 100, "\\My Documents\\Report.doc": 7},
    "dir": {"\\Temp", "\\Temp\\Sub"},
    "key": {"Alive", "Dead One", "Dead Two"},
    "address": {"url1"},
    "running": {"Pocket Notes", "Sketch Pad", "ActiveSync"},
}
AFTER = {
    "file": {"\\Temp\\new.tmp": 5, "\\My Documents\\Report.doc": 7},
    "dir": {"\\Temp"},
    "key": {"Alive"},
    "address": set(),
    "running": {"ActiveSync"},
}


class ReadReport(unittest.TestCase):
    def test_last_drawing_of_each_line_counts(self):
        f = ds.read_report(TRACE)
        self.assertEqual(f["tasks"], "11")   # not the 0 of the report before the run
        self.assertEqual(f["apps"], "2")
        self.assertEqual(f["bytes"], "1300")
        self.assertEqual(f["memory"], "12.50 MB")
        self.assertEqual(len(f), 10)

    def test_escapes_are_undone(self):
        cases = [(r'a\tb', 'a\tb'), (r'back\\slash', 'back\\slash'), (r'say \"hi\"', 'say "hi"'),
                 (r'caf\x00e9', 'caf\u00e9'), (r'new\nline', 'new\nline')]
        for escaped, plain in cases:
            self.assertEqual(ds.unescape(escaped), plain)


class Summarise(unittest.TestCase):
    def test_area_of_picks_the_deepest_cleaning_folder(self):
        cases = [("\\Temp\\a", "\\Temp"), ("\\My Documents\\Temp1\\a", "\\My Documents\\Temp1"),
                 ("\\My Documents\\Temp\\a", "\\My Documents\\Temp"),
                 ("\\Windows\\AppMgr\\Install\\a.cab", "\\Windows\\AppMgr\\Install"),
                 ("\\Windows\\AppMgr\\a.dat", "\\Windows\\AppMgr"),
                 ("\\My Documents\\Report.doc", None), ("\\Temp", None), ("\\Temporary\\x", None)]
        for path, area in cases:
            self.assertEqual(ds.area_of(path), area, path)

    def test_matching_figures_add_up(self):
        lines, bad = ds.summarise(BEFORE, AFTER, ds.read_report(TRACE))
        self.assertEqual(bad, 0, "\n".join(lines))
        self.assertIn("1300", "\n".join(lines))

    def test_each_wrong_figure_is_caught(self):
        good = ds.read_report(TRACE)
        for key in ["files", "bytes", "folders", "keys", "shortcuts", "apps"]:
            figures = dict(good)
            figures[key] = str(int(figures[key]) + 1)
            _, bad = ds.summarise(BEFORE, AFTER, figures)
            self.assertEqual(bad, 1, key)
        figures = dict(good)
        del figures["files"]
        self.assertEqual(ds.summarise(BEFORE, AFTER, figures)[1], 1)

    def test_removal_outside_the_cleaning_folders_is_caught(self):
        after = dict(AFTER)
        after["file"] = {"\\Temp\\new.tmp": 5}   # the user's document went too
        lines, bad = ds.summarise(BEFORE, after, ds.read_report(TRACE))
        self.assertGreaterEqual(bad, 1)
        self.assertIn("\\My Documents\\Report.doc", "\n".join(lines))


class Inventory(unittest.TestCase):
    def test_reads_device_listing(self):
        import tempfile
        text = "dir\t\\Temp\nfile\t\\Temp\\a b.tmp\t12\nkey\tPocket Notes\naddress\turl1\nrunning\tSketch Pad\n"
        with tempfile.NamedTemporaryFile("w", delete=False) as f:
            f.write(text)
        try:
            inv = ds.read_inventory(f.name)
        finally:
            os.unlink(f.name)
        self.assertEqual(inv["file"], {"\\Temp\\a b.tmp": 12})
        self.assertEqual(inv["dir"], {"\\Temp"})
        self.assertEqual(inv["key"], {"Pocket Notes"})
        self.assertEqual(inv["address"], {"url1"})
        self.assertEqual(inv["running"], {"Sketch Pad"})


if __name__ == "__main__":
    unittest.main()
