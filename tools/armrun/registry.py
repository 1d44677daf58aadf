"""Stand-ins for the registry, over a tree read from regedit text (what
`wine reg export` writes) and written back as the changes the run made:
keys removed, values removed, values set. RegDeleteKeyW removes the key
with everything below it, as CE's does; names compare without case;
subkeys and values enumerate in the order the tree holds them."""
import codecs
import re
import struct

from machine import standin

TABLE = {}
ROOTS = {0x80000000: "HKEY_CLASSES_ROOT", 0x80000001: "HKEY_CURRENT_USER",
         0x80000002: "HKEY_LOCAL_MACHINE", 0x80000003: "HKEY_USERS"}
ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_INVALID_HANDLE = 0, 2, 6
ERROR_MORE_DATA, ERROR_NO_MORE_ITEMS = 234, 259
TYPES = {0: "REG_NONE", 1: "REG_SZ", 2: "REG_EXPAND_SZ", 3: "REG_BINARY", 4: "REG_DWORD", 7: "REG_MULTI_SZ"}


class Key:
    def __init__(self, name):
        self.name = name
        self.keys = {}      # lower-case name -> Key, in order
        self.values = {}    # lower-case name -> (name, type, bytes), in order

    def child(self, name, create=False):
        k = self.keys.get(name.lower())
        if k is None and create:
            k = self.keys[name.lower()] = Key(name)
        return k

    def copy(self):
        k = Key(self.name)
        k.values = dict(self.values)
        k.keys = {n: c.copy() for n, c in self.keys.items()}
        return k


class Registry:
    def __init__(self):
        self.roots = {name: Key(name) for name in ROOTS.values()}
        self.handles = {}
        self.next_handle = 0x6000

    def walk(self, key, path, create=False):
        for part in [p for p in path.split("\\") if p]:
            key = key.child(part, create)
            if key is None:
                return None
        return key

    # regedit text -----------------------------------------------------------------

    def load(self, text):
        key = None
        lines = text.splitlines()
        i = 0
        while i < len(lines):
            line = lines[i].strip()
            i += 1
            while line.endswith("\\") and i < len(lines):
                line = line[:-1] + lines[i].strip()
                i += 1
            if line.startswith("[") and line.endswith("]"):
                root, _, rest = line[1:-1].partition("\\")
                key = self.walk(self.roots[root], rest, True) if root in self.roots else None
            elif key is not None and (line.startswith('"') or line.startswith("@")):
                name, kind, data = parse_value(line)
                if kind is not None:
                    key.values[name.lower()] = (name, kind, data)

    def snapshot(self):
        return {n: k.copy() for n, k in self.roots.items()}

    def changes(self, before):
        """The regedit text that turns BEFORE into this tree."""
        out = []
        for root in self.roots:
            diff(before[root], self.roots[root], root, out)
        return "Windows Registry Editor Version 5.00\n\n" + "".join(out)


def parse_value(line):
    m = re.match(r'^(@|"((?:[^"\\]|\\.)*)")=(.*)$', line)
    if not m:
        return None, None, None
    name = "" if m.group(1) == "@" else unescape(m.group(2))
    rest = m.group(3)
    if rest.startswith('"'):
        return name, 1, (unescape(rest[1:-1]) + "\0").encode("utf-16-le")
    if rest.startswith("dword:"):
        return name, 4, struct.pack("<I", int(rest[6:], 16))
    hm = re.match(r"^hex(?:\(([0-9a-fA-F]+)\))?:(.*)$", rest)
    if hm:
        kind = int(hm.group(1), 16) if hm.group(1) else 3
        data = bytes(int(b, 16) for b in hm.group(2).split(",") if b.strip())
        return name, kind, data
    return name, None, None


def unescape(s):
    return re.sub(r"\\(.)", lambda m: m.group(1), s)


def escape(s):
    return s.replace("\\", "\\\\").replace('"', '\\"')


def value_text(name, kind, data):
    n = "@" if name == "" else '"%s"' % escape(name)
    if kind == 1 and len(data) % 2 == 0 and data.endswith(b"\0\0") and b"\0\0" not in data[:-2:2] \
            and "\0" not in data[:-2].decode("utf-16-le", "replace") and "\n" not in data.decode("utf-16-le", "replace"):
        return '%s="%s"\n' % (n, escape(data[:-2].decode("utf-16-le")))
    if kind == 4 and len(data) == 4:
        return "%s=dword:%08x\n" % (n, struct.unpack("<I", data)[0])
    prefix = "hex:" if kind == 3 else "hex(%x):" % kind
    return "%s=%s%s\n" % (n, prefix, ",".join("%02x" % b for b in data))


def diff(old, new, path, out):
    lines = []
    for lname, (name, kind, data) in new.values.items():
        if old is None or old.values.get(lname) != (name, kind, data):
            lines.append(value_text(name, kind, data))
    if old is not None:
        for lname, (name, _, _) in old.values.items():
            if lname not in new.values:
                lines.append("%s=-\n" % ("@" if name == "" else '"%s"' % escape(name)))
    if lines or (old is None):
        out.append("[%s]\n%s\n" % (path, "".join(lines)))
    if old is not None:
        for lname, k in old.keys.items():
            if lname not in new.keys:
                out.append("[-%s\\%s]\n\n" % (path, k.name))
    for lname, k in new.keys.items():
        diff(old.keys.get(lname) if old is not None else None, k, "%s\\%s" % (path, k.name), out)


def read_reg_file(path):
    raw = open(path, "rb").read()
    if raw.startswith(codecs.BOM_UTF16_LE):
        return raw[2:].decode("utf-16-le")
    return raw.decode("utf-8", "replace")


# --- the calls --------------------------------------------------------------------------

def key_of(m, handle):
    if handle in ROOTS:
        return m.registry.roots[ROOTS[handle]], ROOTS[handle]
    return m.registry.handles.get(handle, (None, None))


def open_handle(m, key, path):
    h = m.registry.next_handle
    m.registry.next_handle += 4
    m.registry.handles[h] = (key, path)
    return h


def q(s):
    return "NULL" if s is None else '"%s"' % s.replace("\\", "\\\\")


@standin(TABLE, "RegOpenKeyExW", 5)
def RegOpenKeyExW(m, hkey, subkey, options, sam, result):
    base, path = key_of(m, hkey)
    name = m.wstr(subkey) or ""
    key = m.registry.walk(base, name) if base is not None else None
    if key is None:
        m.log("RegOpenKeyExW(%s, %s) = %d" % (path, q(name), ERROR_FILE_NOT_FOUND))
        return ERROR_FILE_NOT_FOUND if base is not None else ERROR_INVALID_HANDLE
    h = open_handle(m, key, path + "\\" + name if name else path)
    m.w32(result, h)
    m.log("RegOpenKeyExW(%s, %s) = 0, key 0x%X" % (path, q(name), h))
    return ERROR_SUCCESS


@standin(TABLE, "RegCreateKeyExW", 9)
def RegCreateKeyExW(m, hkey, subkey, reserved, cls, options, sam, security, result, disposition):
    base, path = key_of(m, hkey)
    if base is None:
        return ERROR_INVALID_HANDLE
    name = m.wstr(subkey) or ""
    existed = m.registry.walk(base, name) is not None
    key = m.registry.walk(base, name, True)
    h = open_handle(m, key, path + "\\" + name)
    m.w32(result, h)
    if disposition:
        m.w32(disposition, 2 if existed else 1)
    m.log("RegCreateKeyExW(%s, %s) = 0, key 0x%X, %s" % (path, q(name), h, "opened" if existed else "created"))
    return ERROR_SUCCESS


@standin(TABLE, "RegCloseKey", 1)
def RegCloseKey(m, hkey):
    ok = m.registry.handles.pop(hkey, None) is not None or hkey in ROOTS
    m.log("RegCloseKey(0x%X) = %d" % (hkey, 0 if ok else ERROR_INVALID_HANDLE))
    return ERROR_SUCCESS if ok else ERROR_INVALID_HANDLE


@standin(TABLE, "RegEnumKeyExW", 8)
def RegEnumKeyExW(m, hkey, index, name, name_size, reserved, cls, cls_size, written):
    key, path = key_of(m, hkey)
    if key is None:
        return ERROR_INVALID_HANDLE
    names = [k.name for k in key.keys.values()]
    if index >= len(names):
        m.log("RegEnumKeyExW(%s, %d) = %d, no more" % (path, index, ERROR_NO_MORE_ITEMS))
        return ERROR_NO_MORE_ITEMS
    capacity = m.u32(name_size)
    n = names[index]
    if len(n) + 1 > capacity:
        m.log("RegEnumKeyExW(%s, %d) = %d, more data" % (path, index, ERROR_MORE_DATA))
        return ERROR_MORE_DATA
    m.put_wstr(name, n)
    m.w32(name_size, len(n))
    m.log("RegEnumKeyExW(%s, %d) = 0 %s" % (path, index, q(n)))
    return ERROR_SUCCESS


@standin(TABLE, "RegEnumValueW", 8)
def RegEnumValueW(m, hkey, index, name, name_size, reserved, kind, data, data_size):
    key, path = key_of(m, hkey)
    if key is None:
        return ERROR_INVALID_HANDLE
    values = list(key.values.values())
    if index >= len(values):
        m.log("RegEnumValueW(%s, %d) = %d, no more" % (path, index, ERROR_NO_MORE_ITEMS))
        return ERROR_NO_MORE_ITEMS
    n, t, d = values[index]
    if len(n) + 1 > m.u32(name_size):
        return ERROR_MORE_DATA
    m.put_wstr(name, n)
    m.w32(name_size, len(n))
    if kind:
        m.w32(kind, t)
    result = put_data(m, d, data, data_size)
    m.log("RegEnumValueW(%s, %d) = %d %s %s" % (path, index, result, q(n), TYPES.get(t, t)))
    return result


def put_data(m, d, data, data_size):
    if data_size == 0:
        return ERROR_SUCCESS
    capacity = m.u32(data_size)
    m.w32(data_size, len(d))
    if data == 0:
        return ERROR_SUCCESS
    if len(d) > capacity:
        return ERROR_MORE_DATA
    m.write(data, d)
    return ERROR_SUCCESS


@standin(TABLE, "RegQueryValueExW", 6)
def RegQueryValueExW(m, hkey, name, reserved, kind, data, data_size):
    key, path = key_of(m, hkey)
    if key is None:
        return ERROR_INVALID_HANDLE
    n = m.wstr(name) or ""
    v = key.values.get(n.lower())
    if v is None:
        m.log("RegQueryValueExW(%s, %s) = %d" % (path, q(n), ERROR_FILE_NOT_FOUND))
        return ERROR_FILE_NOT_FOUND
    if kind:
        m.w32(kind, v[1])
    capacity = m.u32(data_size) if data_size else 0
    result = put_data(m, v[2], data, data_size)
    m.log("RegQueryValueExW(%s, %s, %d bytes) = %d, %s of %d bytes" % (path, q(n), capacity, result,
                                                                      TYPES.get(v[1], v[1]), len(v[2])))
    return result


@standin(TABLE, "RegSetValueExW", 6)
def RegSetValueExW(m, hkey, name, reserved, kind, data, size):
    key, path = key_of(m, hkey)
    if key is None:
        return ERROR_INVALID_HANDLE
    n = m.wstr(name) or ""
    d = m.read(data, size) if size else b""
    key.values[n.lower()] = (n, kind, d)
    m.log("RegSetValueExW(%s, %s, %s, %d bytes) = 0" % (path, q(n), TYPES.get(kind, kind), size))
    m.record("value set", "%s\\%s" % (path, n))
    return ERROR_SUCCESS


@standin(TABLE, "RegDeleteKeyW", 2)
def RegDeleteKeyW(m, hkey, subkey):
    base, path = key_of(m, hkey)
    name = m.wstr(subkey) or ""
    parent_path, _, last = name.rpartition("\\")
    parent = m.registry.walk(base, parent_path) if base is not None else None
    if parent is None or last == "" or parent.keys.pop(last.lower(), None) is None:
        m.log("RegDeleteKeyW(%s, %s) = %d" % (path, q(name), ERROR_FILE_NOT_FOUND))
        return ERROR_FILE_NOT_FOUND
    m.log("RegDeleteKeyW(%s, %s) = 0, with everything below it" % (path, q(name)))
    m.record("key deleted", "%s\\%s" % (path, name))
    return ERROR_SUCCESS


@standin(TABLE, "RegDeleteValueW", 2)
def RegDeleteValueW(m, hkey, name):
    key, path = key_of(m, hkey)
    if key is None:
        return ERROR_INVALID_HANDLE
    n = m.wstr(name) or ""
    if key.values.pop(n.lower(), None) is None:
        m.log("RegDeleteValueW(%s, %s) = %d" % (path, q(n), ERROR_FILE_NOT_FOUND))
        return ERROR_FILE_NOT_FOUND
    m.log("RegDeleteValueW(%s, %s) = 0" % (path, q(n)))
    m.record("value deleted", "%s\\%s" % (path, n))
    return ERROR_SUCCESS
