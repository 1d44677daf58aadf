"""Stand-ins for the C runtime, memory, time, sound, sleep, processes and
the device's power: coredll's exports as the CE 3.0 reference gives them.
Arguments arrive as the ARM calling convention passes them (r0-r3, then the
stack); a va_list is a pointer to 4-byte slots on the caller's stack, a
double two of them, low word first."""
import re
import struct
import time

from machine import Fault, ProgramEnd, standin

TABLE = {}
LMEM_ZEROINIT, LMEM_MOVEABLE = 0x40, 0x2


def h(v):
    return "0x%X" % v


def q(m, a):
    s = m.wstr(a)
    return "NULL" if s is None else '"%s"' % s.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")


# --- memory --------------------------------------------------------------------------

@standin(TABLE, "LocalAlloc", 2)
def LocalAlloc(m, flags, size):
    a = m.heap.alloc(size)
    if a and flags & LMEM_ZEROINIT:
        m.write(a, bytes(size))
    m.log("LocalAlloc(%s, %d) = %s" % (h(flags), size, h(a)))
    return a


@standin(TABLE, "LocalReAlloc", 3)
def LocalReAlloc(m, block, size, flags):
    old = m.heap.size(block)
    if old is None:
        raise Fault("LocalReAlloc of a block the heap never gave", m.reg_lr(), h(block))
    a = 0
    if flags & LMEM_MOVEABLE:
        a = m.heap.alloc(size)
        if a:
            m.write(a, m.read(block, min(old, size)))
            m.heap.release(block)
    m.log("LocalReAlloc(%s, %d, %s) = %s" % (h(block), size, h(flags), h(a)))
    return a


@standin(TABLE, "LocalFree", 1)
def LocalFree(m, block):
    ok = block == 0 or m.heap.release(block)
    m.log("LocalFree(%s) = %s" % (h(block), "NULL" if ok else h(block)))
    return 0 if ok else block


@standin(TABLE, "malloc", 1)
def malloc(m, size):
    a = m.heap.alloc(size)
    m.log("malloc(%d) = %s" % (size, h(a)))
    return a


@standin(TABLE, "free", 1)
def free(m, block):
    if block and not m.heap.release(block):
        raise Fault("free of a block the heap never gave", m.reg_lr(), h(block))
    m.log("free(%s)" % h(block))
    return 0


@standin(TABLE, "realloc", 2)
def realloc(m, block, size):
    a = m.heap.alloc(size)
    if a and block:
        old = m.heap.size(block)
        m.write(a, m.read(block, min(old, size)))
        m.heap.release(block)
    m.log("realloc(%s, %d) = %s" % (h(block), size, h(a)))
    return a


@standin(TABLE, "memcpy", 3)
def memcpy(m, dst, src, n):
    if n:
        m.write(dst, m.read(src, n))
    return dst


@standin(TABLE, "memset", 3)
def memset(m, dst, c, n):
    if n:
        m.write(dst, bytes([c & 0xFF]) * n)
    return dst


# --- strings --------------------------------------------------------------------------

def units(m, a):
    return m.wstr(a).encode("utf-16-le")


@standin(TABLE, "wcslen", 1)
def wcslen(m, a):
    return len(units(m, a)) // 2


@standin(TABLE, "lstrlenW", 1)
def lstrlenW(m, a):
    return 0 if a == 0 else len(units(m, a)) // 2


def compare(x, y):
    x = struct.unpack("<%dH" % (len(x) // 2), x)
    y = struct.unpack("<%dH" % (len(y) // 2), y)
    return (x > y) - (x < y)


@standin(TABLE, "wcscmp", 2)
def wcscmp(m, a, b):
    return compare(units(m, a), units(m, b))


@standin(TABLE, "lstrcmpW", 2)
def lstrcmpW(m, a, b):
    # CE's lstrcmpW compares by the locale's word order: letters without
    # regard to case first, then a lower-case letter before its capital.
    x, y = m.wstr(a), m.wstr(b)
    r = (x.lower() > y.lower()) - (x.lower() < y.lower())
    return r if r else (x.swapcase() > y.swapcase()) - (x.swapcase() < y.swapcase())


@standin(TABLE, "wcsrchr", 2)
def wcsrchr(m, a, c):
    u = units(m, a) + b"\0\0"
    for i in range(len(u) // 2 - 1, -1, -1):
        if struct.unpack_from("<H", u, 2 * i)[0] == c & 0xFFFF:
            return a + 2 * i
    return 0


@standin(TABLE, "wcsstr", 2)
def wcsstr(m, a, b):
    x, y = units(m, a), units(m, b)
    for i in range(0, len(x) - len(y) + 1, 2):
        if x[i:i + len(y)] == y:
            return a + i
    return 0


@standin(TABLE, "strlen", 1)
def strlen(m, a):
    return len(m.cstr(a, 1 << 20))


@standin(TABLE, "mbstowcs", 3)
def mbstowcs(m, dst, src, n):
    text = m.cstr(src, 1 << 20)
    if dst:
        m.write(dst, text[:n].encode("utf-16-le") + (b"\0\0" if len(text) < n else b""))
    return min(len(text), n) if dst else len(text)


CONVERSION = re.compile(r"%([-+ #0]*)(\d+|\*)?(?:\.(\d+|\*))?(hh|h|ll|l|I64|L)?([diouxXcsSfeEgGp%])")


def format_text(m, fmt, va):
    """The CE C runtime's wide printf over a va_list at va."""
    out, pos = [], 0
    for match in CONVERSION.finditer(fmt):
        out.append(fmt[pos:match.start()])
        pos = match.end()
        flags, width, precision, size, kind = match.groups()
        if width == "*":
            width, va = str(struct.unpack("<i", m.read(va, 4))[0]), va + 4
        if precision == "*":
            precision, va = str(struct.unpack("<i", m.read(va, 4))[0]), va + 4
        if kind == "%":
            out.append("%")
            continue
        conversion = "%" + flags + (width or "") + ("." + precision if precision is not None else "")
        if kind in "fFeEgG":
            value = struct.unpack("<d", m.read(va, 8))[0]
            va += 8
            out.append((conversion + kind) % value)
        elif kind in "sS":
            a = m.u32(va)
            va += 4
            text = "(null)" if a == 0 else (m.wstr(a) if kind == "s" and size != "h" else m.cstr(a))
            out.append((conversion + "s") % text)
        elif kind == "c":
            out.append((conversion + "c") % chr(m.u16(va)))
            va += 4
        else:
            if size in ("ll", "I64"):
                value = struct.unpack("<q", m.read(va, 8))[0]
                va += 8
            else:
                value = struct.unpack("<i", m.read(va, 4))[0]
                va += 4
            if kind in "uoxXp":
                value &= 0xFFFFFFFFFFFFFFFF if size in ("ll", "I64") else 0xFFFFFFFF
            out.append((conversion + {"i": "d", "u": "d", "p": "X"}.get(kind, kind)) % value)
    out.append(fmt[pos:])
    return "".join(out)


@standin(TABLE, "_vsnwprintf", 4)
def _vsnwprintf(m, dst, count, fmt, va):
    f = m.wstr(fmt)
    text = format_text(m, f, va)
    n = len(text.encode("utf-16-le")) // 2
    # As the C runtime does: the terminator only where it fits, -1 when cut.
    if n < count:
        m.put_wstr(dst, text)
        result = n
    elif n == count:
        m.write(dst, text.encode("utf-16-le"))
        result = n
    else:
        m.write(dst, text.encode("utf-16-le")[:2 * count])
        result = -1
    m.log('_vsnwprintf(%s, %d, %s) -> %s = %d' % (h(dst), count, q(m, fmt), repr(text), result))
    return result


@standin(TABLE, "wsprintfW", 4)
def wsprintfW(m, dst, fmt, a2, a3):
    # Variadic: the arguments after the format are r2, r3, then the stack,
    # which the stand-in sees as one run of slots.
    sp = m.reg_sp()
    slots = m.alloc_scratch(struct.pack("<II", a2, a3) + m.read(sp, 64))
    text = format_text(m, m.wstr(fmt), slots)
    m.put_wstr(dst, text[:1023])
    return min(len(text), 1023)


# --- time, sound, sleep -----------------------------------------------------------------

@standin(TABLE, "GetSystemTime", 1)
def GetSystemTime(m, st):
    t = time.gmtime(m.clock())
    ms = int(m.clock() * 1000) % 1000
    m.write(st, struct.pack("<8H", t.tm_year, t.tm_mon, (t.tm_wday + 1) % 7, t.tm_mday, t.tm_hour, t.tm_min,
                            t.tm_sec, ms))
    m.log("GetSystemTime() = %04d-%02d-%02d %02d:%02d:%02d UTC" % t[:6])
    return 0


@standin(TABLE, "SystemTimeToFileTime", 2)
def SystemTimeToFileTime(m, st, ft):
    y, mo, _, d, hh, mi, s, ms = struct.unpack("<8H", m.read(st, 16))
    import calendar
    seconds = calendar.timegm((y, mo, d, hh, mi, s, 0, 0, 0))
    value = (seconds + 11644473600) * 10000000 + ms * 10000
    m.write(ft, struct.pack("<Q", value))
    m.log("SystemTimeToFileTime(%04d-%02d-%02d %02d:%02d:%02d) = TRUE, 0x%016X" % (y, mo, d, hh, mi, s, value))
    return 1


@standin(TABLE, "Sleep", 1)
def Sleep(m, ms):
    m.slept += ms
    m.log("Sleep(%d) counted, not slept" % ms)
    return 0


@standin(TABLE, "PlaySoundW", 3)
def PlaySoundW(m, sound, module, flags):
    name = "#%d" % sound if sound < 0x10000 else q(m, sound)
    m.log("PlaySoundW(%s, %s, %s) = TRUE (recorded)" % (name, h(module), h(flags)))
    m.record("sound", name)
    return 1


# --- processes and the device -------------------------------------------------------------

@standin(TABLE, "CreateProcessW", 10)
def CreateProcessW(m, app, cmd, psa, tsa, inherit, flags, env, cwd, si, pi):
    program = m.wstr(app)
    found = m.files.program_exists(program)
    m.log("CreateProcessW(%s, %s, %s, %s, %d, %s, %s, %s, %s, %s) = %s" % (
        q(m, app), q(m, cmd), h(psa), h(tsa), inherit, h(flags), h(env), h(cwd), h(si), h(pi),
        "TRUE (recorded, not started)" if found else "FALSE, error 2"))
    m.record("process", "%s %s" % (program, m.wstr(cmd)))
    if not found:
        m.last_error = 2
        return 0
    if pi:
        m.write(pi, struct.pack("<4I", 0x5000, 0x5004, 0x1100, 0x1104))
    return 1


@standin(TABLE, "OpenProcess", 3)
def OpenProcess(m, access, inherit, pid):
    handle = m.windows.process_handle(pid)
    m.log("OpenProcess(%s, %d, %s) = %s" % (h(access), inherit, h(pid), h(handle)))
    return handle


@standin(TABLE, "CloseHandle", 1)
def CloseHandle(m, handle):
    m.log("CloseHandle(%s) = TRUE" % h(handle))
    return 1


@standin(TABLE, "GetModuleFileNameW", 3)
def GetModuleFileNameW(m, module, buf, size):
    if module == 0 or module == m.image.base:
        path = m.own_path
    else:
        path = m.windows.process_path(module)
    if path is None:
        m.log("GetModuleFileNameW(%s, %d) = 0" % (h(module), size))
        return 0
    n = m.put_wstr(buf, path, size)
    m.log('GetModuleFileNameW(%s, %d) = %d "%s"' % (h(module), size, n, path))
    return n


@standin(TABLE, "KernelIoControl", 6)
def KernelIoControl(m, code, inbuf, insize, outbuf, outsize, returned):
    m.log("KernelIoControl(%s, %s, %d, %s, %d, %s)" % (h(code), h(inbuf), insize, h(outbuf), outsize, h(returned)))
    if code == 0x0101003C:
        m.record("power", "soft reset")
        m.log("  the device resets: the program ends here")
        raise ProgramEnd(None)
    return 0


@standin(TABLE, "keybd_event", 4)
def keybd_event(m, vk, scan, flags, extra):
    m.log("keybd_event(%s, %s, %s, %s) (recorded)" % (h(vk), h(scan), h(flags), h(extra)))
    if vk == 0xDF:
        m.record("power", "power off" if not flags & 2 else "power key up")
    return 0


@standin(TABLE, "TerminateProcess", 2)
def TerminateProcess(m, process, status):
    # CE's GetCurrentProcess() is the constant handle 0x42.
    if process != 0x42:
        m.log("TerminateProcess(%s, %d) = FALSE (not this process)" % (h(process), status))
        return 0
    m.log("TerminateProcess(this process, %d)" % status)
    raise ProgramEnd(status)


@standin(TABLE, "ExitThread", 1)
def ExitThread(m, status):
    m.log("ExitThread(%d)" % status)
    raise ProgramEnd(status)


@standin(TABLE, "GetLastError", 0)
def GetLastError(m):
    return m.last_error


@standin(TABLE, "OutputDebugStringW", 1)
def OutputDebugStringW(m, text):
    m.log("OutputDebugStringW(%s)" % q(m, text))
    return 0


# The C runtime's own start-up and exit.
@standin(TABLE, "_fpreset", 0)
def _fpreset(m):
    return 0


@standin(TABLE, "_fcloseall", 0)
def _fcloseall(m):
    return 0


@standin(TABLE, "fflush", 1)
def fflush(m, stream):
    return 0


@standin(TABLE, "VirtualQuery", 3)
def VirtualQuery(m, address, info, size):
    # MEMORY_BASIC_INFORMATION of the whole image, committed, read-write.
    m.write(info, struct.pack("<7I", address & ~0xFFF, m.image.base, 4, 0x1000, 0x1000, 4, 0x20000))
    return 28


@standin(TABLE, "VirtualProtect", 4)
def VirtualProtect(m, address, size, protect, old):
    if old:
        m.w32(old, 4)
    return 1


@standin(TABLE, "ExitProcess", 1)
def ExitProcess(m, status):
    m.log("ExitProcess(%d)" % status)
    raise ProgramEnd(status)
