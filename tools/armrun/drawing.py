"""Stand-ins for drawing: device contexts, fonts, brushes, bitmaps and icons
from the image's resources. Nothing is drawn; every call is recorded with
its text, rectangle, colours and flags, so the trace shows what the
program painted."""
import struct

from machine import standin
import resources as R

TABLE = {}
STOCK = {0: "WHITE_BRUSH", 1: "LTGRAY_BRUSH", 2: "GRAY_BRUSH", 3: "DKGRAY_BRUSH", 4: "BLACK_BRUSH",
         5: "NULL_BRUSH", 6: "WHITE_PEN", 7: "BLACK_PEN", 8: "NULL_PEN", 13: "SYSTEM_FONT"}


class Drawing:
    def __init__(self, m):
        self.m = m
        self.objects = {}
        self.next = 0x9000
        self.dcs = {}
        self.lines = []     # (window, text) of every DrawTextW, for the figures

    def new(self, kind, what):
        h = self.next
        self.next += 4
        self.objects[h] = (kind, what)
        return h

    def name(self, h):
        o = self.objects.get(h)
        return "0x%X %s %s" % (h, o[0], o[1]) if o else "0x%X" % h

    def get_dc(self, w):
        h = self.new("dc", "of 0x%X" % (w.handle if w else 0))
        self.dcs[h] = dict(window=w, text=0x000000, back=0xFFFFFF, mode=2, font=None, brush=None)
        return h

    def release_dc(self, h):
        self.dcs.pop(h, None)
        self.objects.pop(h, None)

    def fill(self, dc, rect, brush, why):
        self.m.log("  (%s: FillRect(%s, (%d, %d, %d, %d), %s))" % ((why, self.name(dc)) + tuple(rect) +
                                                                   (self.name(brush),)))


def D(m):
    return m.drawing


def rect_at(m, at):
    return struct.unpack("<4i", m.read(at, 16))


@standin(TABLE, "GetDC", 1)
def GetDC(m, h):
    dc = D(m).get_dc(m.windows.get(h))
    m.log("GetDC(0x%X) = 0x%X" % (h, dc))
    return dc


@standin(TABLE, "ReleaseDC", 2)
def ReleaseDC(m, h, dc):
    D(m).release_dc(dc)
    m.log("ReleaseDC(0x%X, 0x%X) = 1" % (h, dc))
    return 1


@standin(TABLE, "GetStockObject", 1)
def GetStockObject(m, i):
    h = 0x8F00 + 4 * i
    D(m).objects[h] = ("stock", STOCK.get(i, str(i)))
    return h


@standin(TABLE, "SelectObject", 2)
def SelectObject(m, dc, obj):
    state = D(m).dcs.get(dc)
    kind, what = D(m).objects.get(obj, ("?", ""))
    slot = "font" if kind == "font" or what.endswith("FONT") else "pen" if what.endswith("PEN") else "brush"
    old = state.get(slot) if state else None
    if state is not None:
        state[slot] = obj
    m.log("SelectObject(0x%X, %s) = 0x%X" % (dc, D(m).name(obj), old or 0x8F34))
    return old or 0x8F34


@standin(TABLE, "SetBkColor", 2)
def SetBkColor(m, dc, colour):
    s = D(m).dcs.get(dc, {})
    old = s.get("back", 0xFFFFFF)
    s["back"] = colour
    m.log("SetBkColor(0x%X, 0x%06X) = 0x%06X" % (dc, colour, old))
    return old


@standin(TABLE, "SetTextColor", 2)
def SetTextColor(m, dc, colour):
    s = D(m).dcs.get(dc, {})
    old = s.get("text", 0)
    s["text"] = colour
    m.log("SetTextColor(0x%X, 0x%06X) = 0x%06X" % (dc, colour, old))
    return old


@standin(TABLE, "SetBkMode", 2)
def SetBkMode(m, dc, mode):
    s = D(m).dcs.get(dc, {})
    old = s.get("mode", 2)
    s["mode"] = mode
    m.log("SetBkMode(0x%X, %s) = %d" % (dc, {1: "TRANSPARENT", 2: "OPAQUE"}.get(mode, mode), old))
    return old


@standin(TABLE, "DrawTextW", 5)
def DrawTextW(m, dc, text_at, count, rect, flags):
    count = count - (1 << 32) if count & 0x80000000 else count
    text = m.wstr(text_at) if count < 0 else m.read(text_at, 2 * count).decode("utf-16-le", "replace")
    r = rect_at(m, rect)
    s = D(m).dcs.get(dc, {})
    lines = max(1, text.count("\n") + 1)
    height = 13 * lines
    if flags & 0x400:       # DT_CALCRECT: a width from the text, nothing drawn
        m.write(rect, struct.pack("<4i", r[0], r[1], r[0] + 6 * max(len(t) for t in text.split("\n")), r[1] + height))
    else:
        w = s.get("window")
        D(m).lines.append((w.handle if w else 0, text))
    # The text as Wine's +text channel writes it, so one reader serves both builds.
    shown = text.replace("\\", "\\\\").replace('"', '\\"').replace("\t", "\\t").replace("\n", "\\n")
    m.log('DrawTextW L"%s" on 0x%X, count %d, (%d, %d, %d, %d), flags 0x%X = %d; text 0x%06X, font %s' % (
        (shown, dc, count) + tuple(r) + (flags, height, s.get("text", 0),
                                         D(m).name(s["font"]) if s.get("font") else "default")))
    return height


@standin(TABLE, "FillRect", 3)
def FillRect(m, dc, rect, brush):
    r = rect_at(m, rect)
    m.log("FillRect(0x%X, (%d, %d, %d, %d), %s) = 1" % ((dc,) + r + (D(m).name(brush),)))
    return 1


@standin(TABLE, "Rectangle", 5)
def Rectangle(m, dc, left, top, right, bottom):
    s = [v - (1 << 32) if v & 0x80000000 else v for v in (left, top, right, bottom)]
    m.log("Rectangle(0x%X, %d, %d, %d, %d) = TRUE" % ((dc,) + tuple(s)))
    return 1


@standin(TABLE, "DrawIconEx", 9)
def DrawIconEx(m, dc, x, y, icon, cx, cy, step, brush, flags):
    m.log("DrawIconEx(0x%X, %d, %d, %s, %d, %d, %d, 0x%X, 0x%X) = TRUE" % (dc, x, y, D(m).name(icon), cx, cy, step,
                                                                           brush, flags))
    return 1


@standin(TABLE, "CreateFontIndirectW", 1)
def CreateFontIndirectW(m, lf):
    f = struct.unpack("<5i8B", m.read(lf, 28))
    face = m.wstr(lf + 28, 32)
    h = D(m).new("font", "height %d weight %d" % (f[0], f[4]))
    m.log('CreateFontIndirectW(record 92 bytes: height %d, width %d, escapement %d, orientation %d, weight %d, '
          'italic %d, underline %d, strike-out %d, charset %d, precision %d/%d, quality %d, pitch %d, face "%s") = 0x%X'
          % (f + (face, h)))
    return h


@standin(TABLE, "CreatePatternBrush", 1)
def CreatePatternBrush(m, bitmap):
    o = D(m).objects.get(bitmap)
    h = D(m).new("brush", "pattern of %s" % (o[1] if o else "0x%X" % bitmap)) if o and o[0] == "bitmap" else 0
    m.log("CreatePatternBrush(%s) = 0x%X" % (D(m).name(bitmap), h))
    return h


@standin(TABLE, "DeleteObject", 1)
def DeleteObject(m, h):
    o = D(m).objects.pop(h, None)
    m.log("DeleteObject(0x%X%s) = %d" % (h, " " + o[0] if o else "", o is not None))
    return int(o is not None)


def bitmap_facts(m, number):
    found = m.resources.find(R.RT_BITMAP, number)
    if found is None:
        return None
    _, at, size = found
    hs, w, h, planes, bits = struct.unpack("<IiiHH", m.read(at, 16))
    return "bitmap %d, %d x %d, %d-bit" % (number, w, h, bits)


def icon_facts(m, number, want):
    found = m.resources.find(R.RT_GROUP_ICON, number)
    if found is None:
        return None
    _, at, size = found
    n = m.u16(at + 4)
    sizes = [m.read(at + 6 + 14 * i, 2) for i in range(n)]
    sizes = ["%dx%d" % (b[0] or 256, b[1] or 256) for b in sizes]
    return "icon %d (%s)%s" % (number, ", ".join(sizes), " at %dx%d" % want if want else "")


@standin(TABLE, "LoadBitmapW", 2)
def LoadBitmapW(m, inst, name):
    facts = bitmap_facts(m, name) if name < 0x10000 else None
    h = D(m).new("bitmap", facts) if facts else 0
    m.log("LoadBitmapW(0x%X, %d) = 0x%X%s" % (inst, name, h, " " + facts if facts else ""))
    return h


@standin(TABLE, "LoadIconW", 2)
def LoadIconW(m, inst, name):
    facts = icon_facts(m, name, None) if name < 0x10000 else None
    h = D(m).new("icon", facts) if facts else 0
    m.log("LoadIconW(0x%X, %d) = 0x%X%s" % (inst, name, h, " " + facts if facts else ""))
    return h


@standin(TABLE, "LoadImageW", 6)
def LoadImageW(m, inst, name, kind, cx, cy, flags):
    facts = None
    if name < 0x10000:
        facts = icon_facts(m, name, (cx, cy)) if kind == 1 else bitmap_facts(m, name) if kind == 0 else None
    h = D(m).new("icon" if kind == 1 else "bitmap", facts) if facts else 0
    m.log("LoadImageW(0x%X, %d, %d, %d, %d, 0x%X) = 0x%X%s" % (inst, name, kind, cx, cy, flags, h,
                                                               " " + facts if facts else ""))
    return h


@standin(TABLE, "DestroyIcon", 1)
def DestroyIcon(m, h):
    o = D(m).objects.pop(h, None)
    return int(o is not None)
