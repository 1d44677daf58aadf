"""Stand-ins for windows, dialogs, messages, the property sheet, the menu
bar and the other programs' windows of the device. A window of the
program runs its own procedure in ARM code; the system's controls (button,
edit, static, progress bar, up-down) keep the state their messages give
them and draw nothing. The screen is the Pocket PC's: 240 x 320, a 26-pixel
navigation bar on top, the menu bar 26 pixels high at the bottom."""
import struct

from machine import Fault, standin
import resources as R

TABLE = {}
SCREEN_W, SCREEN_H, BAR_H = 240, 320, 26
TAB_H = 21                                   # the sheet's tab strip under its pages
WM_CREATE, WM_DESTROY, WM_MOVE, WM_SIZE, WM_ACTIVATE = 1, 2, 3, 5, 6
WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, WM_PAINT, WM_CLOSE, WM_QUIT = 12, 13, 14, 15, 16, 18
WM_ERASEBKGND, WM_SHOWWINDOW, WM_NOTIFY, WM_INITDIALOG, WM_COMMAND = 20, 24, 78, 272, 273
WM_NCDESTROY, WM_USER = 0x82, 0x400
BM_GETCHECK, BM_SETCHECK = 0xF0, 0xF1
EM_LIMITTEXT = 0xC5
PSN_SETACTIVE, PSN_KILLACTIVE = -200, -201
PSM_SETCURSEL, PSM_SETCURSELID, PSM_GETCURRENTPAGEHWND = WM_USER + 101, WM_USER + 114, WM_USER + 118
DIRECT_RESULTS = {WM_INITDIALOG, 0x132, 0x133, 0x134, 0x135, 0x136, 0x137, 0x138, 0x37, 0x39, 0x2E, 0x2F}
MESSAGE_NAMES = {1: "WM_CREATE", 2: "WM_DESTROY", 3: "WM_MOVE", 5: "WM_SIZE", 6: "WM_ACTIVATE", 12: "WM_SETTEXT",
                 13: "WM_GETTEXT", 14: "WM_GETTEXTLENGTH", 15: "WM_PAINT", 16: "WM_CLOSE", 18: "WM_QUIT",
                 20: "WM_ERASEBKGND", 24: "WM_SHOWWINDOW", 78: "WM_NOTIFY", 272: "WM_INITDIALOG",
                 273: "WM_COMMAND", 0x82: "WM_NCDESTROY", 0xF0: "BM_GETCHECK", 0xF1: "BM_SETCHECK",
                 0xC5: "EM_LIMITTEXT", 1026: "PBM_SETPOS", 1025: "PBM_SETRANGE", 1030: "PBM_SETRANGE32",
                 1135: "UDM_SETRANGE32", 0x2007: "CCM_SETVERSION", 1138: "PSM_SETCURSELID",
                 1125: "PSM_SETCURSEL", 0x138: "WM_CTLCOLORSTATIC", 0x53: "WM_HELP"}


def s32(v):
    return v - (1 << 32) if v & 0x80000000 else v


def msg_name(msg):
    return MESSAGE_NAMES.get(msg, "message %d" % msg)


class Window:
    def __init__(self, handle, cls, title, style, exstyle, parent, ident):
        self.handle, self.cls, self.title = handle, cls, title or ""
        self.style, self.exstyle, self.parent, self.id = style, exstyle, parent, ident
        self.proc = self.dialog_proc = None
        self.rect = [0, 0, 0, 0]            # left, top, right, bottom on the screen
        self.visible = bool(style & 0x10000000)
        self.enabled = not style & 0x08000000
        self.needs_paint = self.visible
        self.checked = 0
        self.progress = [0, 100, 0]         # low, high, position
        self.limit = 0
        self.ended = None                   # a modal dialog's result once EndDialog ran
        self.sheet = None                   # a sheet's pages
        self.other = None                   # (pid, path) of another program's window
        self.buddy = None
        self.erase = True


class Windows:
    def __init__(self, m):
        self.m = m
        self.all = {}
        self.order = []                     # top-level windows, front first
        self.classes = {}
        self.queue = []
        self.next_handle = 0x7C000000
        self.inputs = []
        self.modal = []
        self.main = None

    def new(self, cls, title, style, exstyle, parent, ident=0):
        h = self.next_handle
        self.next_handle += 0x100
        w = Window(h, cls, title, style, exstyle, parent, ident)
        self.all[h] = w
        if parent == 0 or not style & 0x40000000:
            self.order.insert(0, w)
        return w

    def add_other(self, title, cls, path, pid):
        w = self.new(cls, title, 0x10000000, 0, 0)
        w.other = (pid, path)
        w.rect = [0, BAR_H, SCREEN_W, SCREEN_H]
        self.order.remove(w)
        self.order.append(w)

    def process_handle(self, pid):
        for w in self.all.values():
            if w.other and w.other[0] == pid:
                return 0x50000 + pid
        return 0

    def process_path(self, handle):
        for w in self.all.values():
            if w.other and 0x50000 + w.other[0] == handle:
                return w.other[1]
        return None

    def get(self, h):
        return self.all.get(h)

    def children(self, w):
        return [c for c in self.all.values() if c.parent == w.handle and c.style & 0x40000000]

    # --- messages ---------------------------------------------------------------------

    def send(self, w, msg, wp, lp):
        m = self.m
        if w is None:
            return 0
        if w.other is not None:
            m.log("  (to the window of %s: %s)" % (w.title, msg_name(msg)))
            return 0
        if w.proc:
            return m.call(w.proc, w.handle, msg, wp, lp)
        if w.dialog_proc:
            r = m.call(w.dialog_proc, w.handle, msg, wp, lp)
            if r == 0:
                return self.default(w, msg, wp, lp, dialog=True)
            # A dialog procedure's TRUE means "handled"; what the sender gets
            # is the dialog's message result, which only SetWindowLong
            # changes (the program imports none: 0), but for the messages
            # whose result is the procedure's own.
            return r if msg in DIRECT_RESULTS else 0
        if w.sheet is not None:
            return self.sheet_message(w, msg, wp, lp)
        return self.control_message(w, msg, wp, lp)

    def default(self, w, msg, wp, lp, dialog=False):
        m = self.m
        if msg == WM_PAINT:
            w.needs_paint = False
            dc = m.drawing.get_dc(w)
            if w.erase:
                w.erase = False
                self.send(w, WM_ERASEBKGND, dc, 0)
            m.drawing.release_dc(dc)
            return 0
        if msg == WM_ERASEBKGND:
            brush = self.classes.get(w.cls.lower(), {}).get("brush", 0)
            if brush:
                m.drawing.fill(wp, [0, 0, w.rect[2] - w.rect[0], w.rect[3] - w.rect[1]], brush, "background")
            return 1
        if msg == WM_CLOSE and not dialog:
            self.destroy(w)
            return 0
        if msg in (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH):
            return self.text_message(w, msg, wp, lp)
        return 0

    def text_message(self, w, msg, wp, lp):
        m = self.m
        if msg == WM_SETTEXT:
            w.title = m.wstr(lp) or ""
            return 1
        if msg == WM_GETTEXT:
            if wp == 0:
                return 0
            return m.put_wstr(lp, w.title, wp)
        return len(w.title)

    def control_message(self, w, msg, wp, lp):
        cls = w.cls.lower()
        if msg in (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH):
            return self.text_message(w, msg, wp, lp)
        if cls == "button":
            if msg == BM_GETCHECK:
                return w.checked
            if msg == BM_SETCHECK:
                w.checked = wp
                return 0
        if cls == "edit" and msg == EM_LIMITTEXT:
            w.limit = wp
            return 0
        if cls == "msctls_progress32":
            lo, hi, pos = w.progress
            if msg == 1025:
                w.progress[:2] = [lp & 0xFFFF, lp >> 16]
                return lo | hi << 16
            if msg == 1030:
                w.progress[:2] = [s32(wp), s32(lp)]
                return lo | hi << 16
            if msg == 1026:
                w.progress[2] = max(w.progress[0], min(w.progress[1], s32(wp)))
                return pos
            if msg == 1032:
                return pos
        if cls == "msctls_updown32":
            if msg == 1135:
                w.progress[:2] = [s32(wp), s32(lp)]
                return 0
            if msg in (1127, 1137):
                w.progress[2] = s32(lp)
                if w.buddy and w.style & 0x2:
                    w.buddy.title = str(w.progress[2])
                return 0
            if msg in (1128, 1138):
                return w.progress[2]
            if msg == 0x2007:
                return 0
        return 0

    def post(self, h, msg, wp, lp):
        self.queue.append((h, msg, wp, lp))

    def next_message(self, filter_window=0):
        """The next message for the program, as GetMessage finds it: posted
        ones first, then a paint, then what the user does next."""
        while True:
            for i, item in enumerate(self.queue):
                if filter_window == 0 or item[0] == filter_window or item[1] == WM_QUIT:
                    return self.queue.pop(i)
            for w in self.paint_order():
                if w.needs_paint:
                    w.needs_paint = False
                    return (w.handle, WM_PAINT, 0, 0)
            if not self.user_input():
                raise Fault("the program waits for input and none is left", self.m.reg_lr(),
                            "the run's inputs are used up")

    def paint_order(self):
        out = []

        def visit(w):
            if w.visible:
                out.append(w)
                for c in self.children(w):
                    visit(c)
        for w in reversed(self.order):
            if w.other is None:
                visit(w)
        return out

    def front(self):
        if self.modal:
            return self.modal[-1]
        return self.main

    def user_input(self):
        if not self.inputs:
            return False
        action = self.inputs.pop(0)
        target = self.front()
        if action == "ok":
            self.m.log('(the user taps "ok": WM_COMMAND 1 to 0x%X)' % target.handle)
            self.post(target.handle, WM_COMMAND, 1, 0)
        elif action.startswith("command:"):
            n = int(action.split(":", 1)[1])
            self.m.log("(the user chooses command %d: WM_COMMAND to the main window)" % n)
            self.post(self.main.handle, WM_COMMAND, n, 0)
        else:
            raise Fault("unknown input %r" % action, 0)
        return True

    def destroy(self, w):
        if w is None or w.handle not in self.all:
            return
        self.send(w, WM_DESTROY, 0, 0)
        for c in self.children(w):
            self.destroy(c)
        for o in list(self.all.values()):
            if o.parent == w.handle and o.handle in self.all and o is not w:
                self.destroy(o)
        self.send(w, WM_NCDESTROY, 0, 0)
        self.all.pop(w.handle, None)
        if w in self.order:
            self.order.remove(w)

    # --- creating windows and dialogs ------------------------------------------------------

    def place_child(self, w, parent, rect):
        x, y, cx, cy = rect
        left, top = parent.rect[0], parent.rect[1]
        w.rect = [left + x, top + y, left + x + cx, top + y + cy]

    def create_dialog(self, template_at, parent, proc, param):
        m = self.m
        t = R.dialog_template(m, template_at)
        if t is None:
            raise Fault("a DLGTEMPLATEEX template, which CE 3.0 does not read", m.reg_lr())
        pw = self.get(parent)
        style = t["style"]
        d = self.new("#32770", t["title"], style, t["exstyle"], parent)
        d.dialog_proc = proc
        d.template = t
        d.erase = True
        if style & 0x40000000 and pw is not None:                 # a child dialog: a page
            d.rect = list(pw.rect)
        else:                                                     # a dialog of its own: full screen
            d.rect = [0, BAR_H, SCREEN_W, SCREEN_H]
        x0, y0, _, _ = t["rect"]
        previous = None
        for it in t["items"]:
            x, y, cx, cy = it["rect"]
            c = self.new(it["cls"], it["title"] if isinstance(it["title"], str) else "", it["style"] | 0x40000000,
                         it["exstyle"], d.handle, it["id"])
            c.rect = [d.rect[0] + x * 7 // 4, d.rect[1] + y * 13 // 8,
                      d.rect[0] + (x + cx) * 7 // 4, d.rect[1] + (y + cy) * 13 // 8]
            if c.cls.lower() == "msctls_updown32" and it["style"] & 0x10:
                c.buddy = previous
            previous = c
        m.log("dialog 0x%X from a template of %d controls, style 0x%X" % (d.handle, len(t["items"]), style))
        result = self.send(d, WM_INITDIALOG, 0, param)
        d.needs_paint = d.visible
        return d, result


def q(m, a):
    if a and a < 0x10000:
        return "#%d" % a
    s = m.wstr(a)
    return "NULL" if s is None else '"%s"' % s.replace("\\", "\\\\")


def W(m, h):
    return m.windows.get(h)


@standin(TABLE, "RegisterClassW", 1)
def RegisterClassW(m, wc):
    style, proc, cls_extra, wnd_extra, inst, icon, cursor, brush, menu, name = struct.unpack("<10I", m.read(wc, 40))
    cls = m.wstr(name) if name >= 0x10000 else "#%d" % name
    m.windows.classes[cls.lower()] = dict(proc=proc, style=style, brush=brush, icon=icon)
    m.log('RegisterClassW(record 40 bytes: style 0x%X, procedure 0x%X, extra %d/%d, icon 0x%X, cursor 0x%X, '
          'background 0x%X, menu %d, "%s") = 0xC001' % (style, proc, cls_extra, wnd_extra, icon, cursor, brush, menu, cls))
    return 0xC001


@standin(TABLE, "UnregisterClassW", 2)
def UnregisterClassW(m, name, inst):
    cls = m.wstr(name)
    ok = m.windows.classes.pop(cls.lower(), None) is not None
    m.log('UnregisterClassW("%s") = %d' % (cls, ok))
    return int(ok)


@standin(TABLE, "CreateWindowExW", 12)
def CreateWindowExW(m, exstyle, cls_at, title_at, style, x, y, cx, cy, parent, menu, inst, param):
    cls, title = m.wstr(cls_at), m.wstr(title_at)
    ws = m.windows
    c = ws.classes.get(cls.lower())
    m.log('CreateWindowExW(0x%X, "%s", %s, 0x%X, %d, %d, %d, %d, 0x%X, %d)' % (
        exstyle, cls, q(m, title_at), style, s32(x), s32(y), s32(cx), s32(cy), parent, menu))
    w = ws.new(cls, title, style, exstyle, parent, menu)
    w.erase = True
    if parent == 0:
        # A top-level window at the default place gets the screen below the
        # navigation bar, as the Pocket PC shell sizes it.
        if x == 0x80000000:
            w.rect = [0, BAR_H, SCREEN_W, SCREEN_H]
        else:
            w.rect = [s32(x), s32(y), s32(x) + s32(cx), s32(y) + s32(cy)]
        if ws.main is None and c is not None:
            ws.main = w
    else:
        ws.place_child(w, ws.get(parent), (s32(x), s32(y), s32(cx), s32(cy)))
    if c is not None:
        w.proc = c["proc"]
        cs = m.alloc_scratch(struct.pack("<12I", param, inst, menu, parent, w.rect[3] - w.rect[1],
                                         w.rect[2] - w.rect[0], w.rect[1], w.rect[0], style, title_at, cls_at, exstyle))
        r = ws.send(w, WM_CREATE, 0, cs)
        if s32(r) == -1:
            ws.destroy(w)
            m.log("  = NULL (WM_CREATE refused)")
            return 0
    m.log("  = 0x%X" % w.handle)
    return w.handle


@standin(TABLE, "DestroyWindow", 1)
def DestroyWindow(m, h):
    w = W(m, h)
    m.log("DestroyWindow(0x%X) = %d" % (h, w is not None))
    if w is None:
        return 0
    m.windows.destroy(w)
    return 1


@standin(TABLE, "DefWindowProcW", 4)
def DefWindowProcW(m, h, msg, wp, lp):
    w = W(m, h)
    return m.windows.default(w, msg, wp, lp) if w else 0


def show(m, w, visible):
    was = w.visible
    w.visible = visible
    if visible and not was:
        w.needs_paint = w.erase = True
        for c in m.windows.children(w):
            c.needs_paint = c.visible
    return int(was)


@standin(TABLE, "ShowWindow", 2)
def ShowWindow(m, h, cmd):
    w = W(m, h)
    r = show(m, w, cmd != 0) if w else 0
    m.log("ShowWindow(0x%X, %d) = %d" % (h, cmd, r))
    return r


@standin(TABLE, "UpdateWindow", 1)
def UpdateWindow(m, h):
    w = W(m, h)
    m.log("UpdateWindow(0x%X) = %d" % (h, w is not None))
    if w is None:
        return 0
    for x in [w] + [c for c in m.windows.paint_order() if c.parent == w.handle]:
        if x.needs_paint and x.visible:
            x.needs_paint = False
            m.windows.send(x, WM_PAINT, 0, 0)
    return 1


@standin(TABLE, "SetForegroundWindow", 1)
def SetForegroundWindow(m, h):
    w = W(m, h & ~1)
    m.log("SetForegroundWindow(0x%X%s) = %d" % (h, ", with its owned windows" if h & 1 else "", w is not None))
    return int(w is not None)


@standin(TABLE, "EnableWindow", 2)
def EnableWindow(m, h, enable):
    w = W(m, h)
    if w is None:
        return 0
    was = not w.enabled
    w.enabled = bool(enable)
    m.log("EnableWindow(0x%X %s, %d) = %d" % (h, w.cls, enable, was))
    return int(was)


@standin(TABLE, "IsWindowVisible", 1)
def IsWindowVisible(m, h):
    w = W(m, h)
    return int(bool(w and w.visible))


@standin(TABLE, "MoveWindow", 6)
def MoveWindow(m, h, x, y, cx, cy, repaint):
    w = W(m, h)
    if w is None:
        return 0
    old = (w.rect[2] - w.rect[0], w.rect[3] - w.rect[1])
    w.rect = [s32(x), s32(y), s32(x) + s32(cx), s32(y) + s32(cy)]
    m.log("MoveWindow(0x%X, %d, %d, %d, %d, %d) = TRUE" % (h, s32(x), s32(y), s32(cx), s32(cy), repaint))
    if old != (s32(cx), s32(cy)):
        m.windows.send(w, WM_SIZE, 0, (s32(cx) & 0xFFFF) | (s32(cy) & 0xFFFF) << 16)
    if repaint:
        w.needs_paint = w.erase = True
    return 1


def put_rect(m, at, r):
    m.write(at, struct.pack("<4i", *r))


@standin(TABLE, "GetWindowRect", 2)
def GetWindowRect(m, h, at):
    w = W(m, h)
    if w is None:
        return 0
    put_rect(m, at, w.rect)
    m.log("GetWindowRect(0x%X) = TRUE (%d, %d, %d, %d)" % ((h,) + tuple(w.rect)))
    return 1


@standin(TABLE, "GetClientRect", 2)
def GetClientRect(m, h, at):
    w = W(m, h)
    if w is None:
        return 0
    r = [0, 0, w.rect[2] - w.rect[0], w.rect[3] - w.rect[1]]
    put_rect(m, at, r)
    m.log("GetClientRect(0x%X) = TRUE (%d, %d, %d, %d)" % ((h,) + tuple(r)))
    return 1


@standin(TABLE, "GetDlgItem", 2)
def GetDlgItem(m, dlg, ident):
    for c in m.windows.children(W(m, dlg) or Window(0, "", "", 0, 0, -1, 0)):
        if c.id == ident & 0xFFFF:
            return c.handle
    return 0


@standin(TABLE, "GetDlgCtrlID", 1)
def GetDlgCtrlID(m, h):
    w = W(m, h)
    return w.id if w else 0


@standin(TABLE, "SetDlgItemTextW", 3)
def SetDlgItemTextW(m, dlg, ident, text):
    c = W(m, GetDlgItem(m, dlg, ident))
    m.log("SetDlgItemTextW(0x%X, %d, %s) = %d" % (dlg, ident, q(m, text), c is not None))
    if c is None:
        return 0
    m.windows.send(c, WM_SETTEXT, 0, text)
    return 1


@standin(TABLE, "GetDlgItemTextW", 4)
def GetDlgItemTextW(m, dlg, ident, buf, size):
    c = W(m, GetDlgItem(m, dlg, ident))
    n = m.windows.send(c, WM_GETTEXT, size, buf) if c else 0
    m.log("GetDlgItemTextW(0x%X, %d, %d) = %d %s" % (dlg, ident, size, n, q(m, buf) if size else ""))
    return n


@standin(TABLE, "SendDlgItemMessageW", 5)
def SendDlgItemMessageW(m, dlg, ident, msg, wp, lp):
    c = W(m, GetDlgItem(m, dlg, ident))
    r = m.windows.send(c, msg, wp, lp) if c else 0
    m.log("SendDlgItemMessageW(0x%X, %d, %s, %d, 0x%X) = %d" % (dlg, ident, msg_name(msg), wp, lp, r))
    return r


@standin(TABLE, "SendMessageW", 4)
def SendMessageW(m, h, msg, wp, lp):
    w = W(m, h)
    m.log("SendMessageW(0x%X, %s, 0x%X, 0x%X)" % (h, msg_name(msg), wp, lp))
    r = m.windows.send(w, msg, wp, lp) if w else 0
    m.log("  = %d" % s32(r))
    return r


@standin(TABLE, "PostMessageW", 4)
def PostMessageW(m, h, msg, wp, lp):
    w = W(m, h)
    if w is None:
        m.log("PostMessageW(0x%X, %s) = FALSE" % (h, msg_name(msg)))
        return 0
    m.log("PostMessageW(0x%X, %s, 0x%X, 0x%X) = TRUE" % (h, msg_name(msg), wp, lp))
    if w.other is not None:
        if msg == WM_CLOSE:
            # The demo programs of the device end on WM_CLOSE; their window goes.
            m.record("closed", w.title)
            m.windows.all.pop(w.handle, None)
            m.windows.order.remove(w)
        return 1
    m.windows.post(h, msg, wp, lp)
    return 1


@standin(TABLE, "PostQuitMessage", 1)
def PostQuitMessage(m, code):
    m.log("PostQuitMessage(%d)" % code)
    m.windows.post(0, WM_QUIT, code, 0)
    return 0


@standin(TABLE, "GetMessageW", 4)
def GetMessageW(m, msg_at, h, low, high):
    target, msg, wp, lp = m.windows.next_message(h)
    m.write(msg_at, struct.pack("<7I", target, msg, wp & 0xFFFFFFFF, lp & 0xFFFFFFFF, m.instructions & 0xFFFFFFFF,
                                0, 0))
    m.log("GetMessageW() = %s 0x%X %s 0x%X 0x%X" % (0 if msg == WM_QUIT else 1, target, msg_name(msg), wp, lp))
    return 0 if msg == WM_QUIT else 1


@standin(TABLE, "TranslateMessage", 1)
def TranslateMessage(m, msg_at):
    return 0


@standin(TABLE, "DispatchMessageW", 1)
def DispatchMessageW(m, msg_at):
    target, msg, wp, lp = struct.unpack("<4I", m.read(msg_at, 16))
    w = W(m, target)
    return m.windows.send(w, msg, wp, lp) if w else 0


@standin(TABLE, "FindWindowW", 2)
def FindWindowW(m, cls_at, title_at):
    cls, title = m.wstr(cls_at) if cls_at >= 0x10000 else None, m.wstr(title_at)
    for w in m.windows.order:
        if (cls is None or w.cls.lower() == cls.lower()) and (title is None or w.title == title):
            m.log("FindWindowW(%s, %s) = 0x%X" % (q(m, cls_at), q(m, title_at), w.handle))
            return w.handle
    m.log("FindWindowW(%s, %s) = NULL" % (q(m, cls_at), q(m, title_at)))
    return 0


@standin(TABLE, "EnumWindows", 2)
def EnumWindows(m, proc, param):
    m.log("EnumWindows(0x%X, 0x%X)" % (proc, param))
    for w in list(m.windows.order):
        r = m.call(proc, w.handle, param)
        if r == 0:
            break
    return 1


@standin(TABLE, "GetClassNameW", 3)
def GetClassNameW(m, h, buf, size):
    w = W(m, h)
    return m.put_wstr(buf, w.cls, size) if w and size else 0


@standin(TABLE, "GetWindowTextW", 3)
def GetWindowTextW(m, h, buf, size):
    w = W(m, h)
    n = m.put_wstr(buf, w.title, size) if w and size else 0
    m.log('GetWindowTextW(0x%X, %d) = %d %s' % (h, size, n, q(m, buf) if size else ""))
    return n


@standin(TABLE, "GetWindowThreadProcessId", 2)
def GetWindowThreadProcessId(m, h, pid_at):
    w = W(m, h)
    pid = w.other[0] if w and w.other else (m.own_pid if w else 0)
    if pid_at:
        m.w32(pid_at, pid)
    return pid + 1 if w else 0


@standin(TABLE, "EndDialog", 2)
def EndDialog(m, h, result):
    w = W(m, h)
    m.log("EndDialog(0x%X, %d) = %d" % (h, result, w is not None))
    if w is None:
        return 0
    w.ended = result
    return 1


@standin(TABLE, "FindResourceW", 3)
def FindResourceW(m, module, name, kind):
    n = name if name < 0x10000 else m.wstr(name)
    t = kind if kind < 0x10000 else m.wstr(kind)
    found = m.resources.find(t, n)
    m.log("FindResourceW(0x%X, %s, %s) = %s" % (module, n, t, "0x%X" % found[0] if found else "NULL"))
    return found[0] if found else 0


@standin(TABLE, "LoadResource", 2)
def LoadResource(m, module, entry):
    if entry == 0:
        return 0
    rva, size = struct.unpack("<II", m.read(entry, 8))
    return m.image.base + rva


@standin(TABLE, "DialogBoxIndirectParamW", 5)
def DialogBoxIndirectParamW(m, inst, template, parent, proc, param):
    ws = m.windows
    m.log("DialogBoxIndirectParamW(0x%X, template 0x%X, parent 0x%X, procedure 0x%X, 0x%X)" % (
        inst, template, parent, proc, param))
    owner = ws.get(parent)
    d, _ = ws.create_dialog(template, parent, proc, param)
    d.visible = d.needs_paint = True
    if owner:
        owner.enabled = False
    ws.modal.append(d)
    try:
        while d.ended is None and d.handle in ws.all:
            target, msg, wp, lp = ws.next_message()
            if msg == WM_QUIT:
                ws.post(0, WM_QUIT, wp, lp)
                break
            ws.send(ws.get(target), msg, wp, lp)
    finally:
        ws.modal.remove(d)
    if owner:
        owner.enabled = True
    result = d.ended if d.ended is not None else -1
    ws.destroy(d)
    m.log("  = %d" % result)
    return result


@standin(TABLE, "DialogBoxParamW", 5)
def DialogBoxParamW(m, inst, name, parent, proc, param):
    found = m.resources.find(R.RT_DIALOG, name if name < 0x10000 else m.wstr(name))
    if found is None:
        return -1
    return DialogBoxIndirectParamW(m, inst, found[1], parent, proc, param)


@standin(TABLE, "MessageBoxW", 4)
def MessageBoxW(m, h, text, caption, kind):
    m.log("MessageBoxW(0x%X, %s, %s, 0x%X) = IDOK (recorded)" % (h, q(m, text), q(m, caption), kind))
    m.record("message box", m.wstr(text))
    return 1


# --- the Pocket PC shell ----------------------------------------------------------------------

@standin(TABLE, "SHCreateMenuBar", 1)
def SHCreateMenuBar(m, info):
    size, parent, flags, bar_id, inst, bmp, images, _ = struct.unpack("<8I", m.read(info, 32))
    m.log("SHCreateMenuBar(record %d bytes: parent 0x%X, flags 0x%X, menu bar %d, instance 0x%X, bitmap %d, "
          "%d images)" % (size, parent, flags, bar_id, inst, bmp, images))
    found = m.resources.find(R.RT_RCDATA, bar_id)
    if size != 32 or found is None or W(m, parent) is None:
        m.log("  = FALSE (%s)" % ("the record is not 32 bytes" if size != 32 else "no menu bar resource"))
        return 0
    _, at, length = found
    words = struct.unpack("<%dH" % (length // 2), m.read(at, length & ~1))
    menu, count = words[0], words[1]
    menu_found = m.resources.find(R.RT_MENU, menu)
    m.log("  menu bar resource %d: menu %d%s, %d button(s)" % (bar_id, menu, "" if menu_found else " (missing)", count))
    for i in range(count):
        image, command, state, style, string, _, popup = words[2 + 7 * i:9 + 7 * i]
        s = m.resources.string(string)
        label = ('"%s" (string %d%s)' % (s[0], string, "" if s[2] else ", NOT terminated in the image")
                 if s else "string %d missing" % string)
        m.log("  button %d: image 0x%X, command %d, state 0x%X, style 0x%X, %s, popup %d" % (
            i + 1, image, command, state, style, label, popup))
        if s and not s[2]:
            m.record("warning", "menu bar string %d is not terminated in the image" % string)
    bar = m.windows.new("menu_worker", "", 0x10000000, 0, parent)
    bar.rect = [0, SCREEN_H - BAR_H, SCREEN_W, SCREEN_H]
    bar.erase = False
    m.w32(info + 28, bar.handle)
    m.log("  = TRUE, menu bar 0x%X" % bar.handle)
    return 1


@standin(TABLE, "SHInitDialog", 1)
def SHInitDialog(m, info):
    mask, dlg, flags = struct.unpack("<3I", m.read(info, 12))
    m.log("SHInitDialog(record 12 bytes: mask 0x%X, dialog 0x%X, flags 0x%X) = TRUE" % (mask, dlg, flags))
    w = W(m, dlg)
    if w and flags & 0x1:
        w.rect = [0, BAR_H, SCREEN_W, SCREEN_H]
    return 1


@standin(TABLE, "SipShowIM", 1)
def SipShowIM(m, flags):
    m.log("SipShowIM(0x%X) = TRUE" % flags)
    return 1


# --- the property sheet ---------------------------------------------------------------------

@standin(TABLE, "PropertySheetW", 1)
def PropertySheetW(m, header):
    size, flags, parent, inst, icon, caption, count, start, pages, callback = struct.unpack("<10I", m.read(header, 40))
    m.log("PropertySheetW(header %d bytes: flags 0x%X, parent 0x%X, instance 0x%X, icon 0x%X, caption %s, %d pages, "
          "start %d, pages at 0x%X, callback 0x%X)" % (size, flags, parent, inst, icon, q(m, caption), count, start,
                                                       pages, callback))
    ws = m.windows
    owner = ws.get(parent)
    if size != 40 or not flags & 0x400 or owner is None:
        m.log("  = -1 (%s)" % ("the header is not 40 bytes" if size != 40 else "only a modeless sheet is stood in for"))
        return -1
    descriptors = []
    at = pages
    for i in range(count):
        psize = m.u32(at) if flags & 0x8 else 0
        if not flags & 0x8 or psize != 40:
            m.log("  page %d: %s = -1" % (i + 1, "record of %d bytes, not 40" % psize if flags & 0x8 else "handles"))
            return -1
        record = m.read(at, 40)
        p = struct.unpack("<10I", record)
        copy = m.alloc_data(record)
        m.log("  page %d: record 40 bytes: flags 0x%X, template %s, title %s, procedure 0x%X, parameter 0x%X, "
              "callback 0x%X" % (i + 1, p[1], q(m, p[3]), q(m, p[5]) if p[1] & 0x8 else "(none)", p[6], p[7], p[8]))
        descriptors.append(dict(record=p, copy=copy, window=None))
        at += 40
    if flags & 0x100 and callback:
        version = m.call(callback, 0, 3, 0)
        m.log("  sheet callback(NULL, 3 version query, 0) = %d" % s32(version))
        template = m.alloc_data(struct.pack("<IIHhhhhHHH", 0x94C800C4, 0, 0, 0, 0, 138, 145, 0, 0, 0))
        r = m.call(callback, 0, 2, template)
        m.log("  sheet callback(NULL, 2 pre-create, template 0x%X) = %d" % (template, s32(r)))
    sheet = ws.new("sheet", "", 0x50000000, 0, parent)
    sheet.rect = list(owner.rect)
    sheet.sheet = descriptors
    sheet.current = None
    sheet.erase = True
    if flags & 0x100 and callback:
        r = m.call(callback, sheet.handle, 1, header)
        m.log("  sheet callback(0x%X, 1 initialised, header) = %d" % (sheet.handle, s32(r)))
    select_page(m, sheet, start)
    m.log("  = 0x%X (modeless)" % sheet.handle)
    return sheet.handle


def notify(m, w, sender, code):
    record = m.heap.alloc(16)
    m.write(record, struct.pack("<IIiI", sender.handle, 0, code, 0))
    r = m.windows.send(w, WM_NOTIFY, 0, record)
    m.heap.release(record)
    return r


def select_page(m, sheet, index):
    ws = m.windows
    if not 0 <= index < len(sheet.sheet):
        return 0
    page = sheet.sheet[index]
    p = page["record"]
    if sheet.current is not None:
        old = sheet.sheet[sheet.current]["window"]
        # A page keeps the sheet on it only through its message result,
        # which stays 0 here (see Windows.send).
        if notify(m, old, sheet, PSN_KILLACTIVE):
            return 0
        show(m, old, False)
    if page["window"] is None:
        if p[1] & 0x80 and p[8]:
            r = m.call(p[8], 0, 2, page["copy"])
            m.log("  page callback(NULL, 2 create, page %d) = %d" % (index + 1, s32(r)))
            if r == 0:
                return 0
        found = m.resources.find(R.RT_DIALOG, p[3] if p[3] < 0x10000 else m.wstr(p[3]))
        if found is None:
            m.log("  page %d: no dialog template" % (index + 1))
            return 0
        d, _ = ws.create_dialog(found[1], sheet.handle, p[6], page["copy"])
        d.rect = [sheet.rect[0], sheet.rect[1], sheet.rect[2], sheet.rect[3] - TAB_H]
        page["window"] = d
    sheet.current = index
    notify(m, page["window"], sheet, PSN_SETACTIVE)
    show(m, page["window"], True)
    return 1


def sheet_message(self, w, msg, wp, lp):
    m = self.m
    if msg == PSM_SETCURSELID:
        for i, page in enumerate(w.sheet):
            if page["record"][3] == lp:
                return select_page(m, w, i)
        return 0
    if msg == PSM_SETCURSEL:
        return select_page(m, w, wp)
    if msg == PSM_GETCURRENTPAGEHWND:
        return w.sheet[w.current]["window"].handle if w.current is not None else 0
    if msg == WM_SIZE:
        return 0
    return self.default(w, msg, wp, lp)


Windows.sheet_message = sheet_message
