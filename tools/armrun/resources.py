"""The image's resources as the CE loader finds them: FindResource by type
and name (numbers), dialog templates (plain DLGTEMPLATE) and string tables."""
import struct

RT_ICON, RT_BITMAP, RT_MENU, RT_DIALOG, RT_STRING, RT_RCDATA, RT_GROUP_ICON = 1, 2, 4, 5, 6, 10, 14


class Resources:
    def __init__(self, m):
        self.m = m
        self.base = m.image.base
        self.root = m.image.directory(2)[0]
        self.data_entries = {}   # address of the data entry -> (rva, size)

    def entries(self, offset):
        """(name, offset) of a directory at offset from the resources' start."""
        m = self.m
        at = self.base + self.root + offset
        named, ids = struct.unpack("<HH", m.read(at + 12, 4))
        out = []
        for i in range(named + ids):
            name, offset = struct.unpack("<II", m.read(at + 16 + 8 * i, 8))
            if name & 0x80000000:
                n = self.base + self.root + (name & 0x7FFFFFFF)
                length = m.u16(n)
                name = m.read(n + 2, 2 * length).decode("utf-16-le").upper()
            out.append((name, offset))
        return out

    def find(self, kind, name):
        """(address of the data entry, address of the data, size) or None."""
        if not self.root:
            return None
        if isinstance(name, str):
            name = name.upper()
        for t, off in self.entries(0):
            if t != kind or not off & 0x80000000:
                continue
            for n, off2 in self.entries(off & 0x7FFFFFFF):
                if n != name or not off2 & 0x80000000:
                    continue
                for _, off3 in self.entries(off2 & 0x7FFFFFFF):
                    entry = self.base + self.root + off3
                    rva, size = struct.unpack("<II", self.m.read(entry, 8))
                    return entry, self.base + rva, size
        return None

    def string(self, number):
        """(text, address of the text in the image, terminated in place)."""
        found = self.find(RT_STRING, number // 16 + 1)
        if found is None:
            return None
        _, at, size = found
        end = at + size
        for i in range(number % 16 + 1):
            length = self.m.u16(at)
            if i == number % 16:
                if length == 0:
                    return None
                text = self.m.read(at + 2, 2 * length).decode("utf-16-le")
                after = at + 2 + 2 * length
                terminated = after + 2 <= end and self.m.u16(after) == 0 and not text.endswith("\0")
                return text.rstrip("\0"), at + 2, terminated or text.endswith("\0")
            at += 2 + 2 * length
        return None


def sz_or_ord(m, at):
    """A template's name field: (value, next address); value is a number or text."""
    first = m.u16(at)
    if first == 0xFFFF:
        return m.u16(at + 2), at + 4
    if first == 0:
        return "", at + 2
    text = m.wstr(at)
    return text, at + 2 * (len(text) + 1)


CLASS_ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX", 0x84: "SCROLLBAR", 0x85: "COMBOBOX"}


def dialog_template(m, at):
    """A plain DLGTEMPLATE and its items. A DLGTEMPLATEEX (CE 3.0 has none)
    comes back as None."""
    if m.u32(at) == 0xFFFF0001:
        return None
    style, exstyle, count, x, y, cx, cy = struct.unpack("<IIHhhhh", m.read(at, 18))
    p = at + 18
    menu, p = sz_or_ord(m, p)
    cls, p = sz_or_ord(m, p)
    title, p = sz_or_ord(m, p)
    font = None
    if style & 0x40:
        size = m.u16(p)
        face = m.wstr(p + 2)
        p += 2 + 2 * (len(face) + 1)
        font = (size, face)
    items = []
    for _ in range(count):
        p = (p + 3) & ~3
        istyle, iex, ix, iy, icx, icy, iid = struct.unpack("<IIhhhhH", m.read(p, 18))
        p += 18
        icls, p = sz_or_ord(m, p)
        ititle, p = sz_or_ord(m, p)
        extra = m.u16(p)
        p += 2 + extra
        if isinstance(icls, int):
            icls = CLASS_ATOMS.get(icls, "#%d" % icls)
        items.append(dict(style=istyle, exstyle=iex, rect=(ix, iy, icx, icy), id=iid, cls=icls, title=ititle))
    return dict(style=style, exstyle=exstyle, rect=(x, y, cx, cy), menu=menu, cls=cls, title=title, font=font,
                items=items)
