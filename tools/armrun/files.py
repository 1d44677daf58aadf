"""Stand-ins for the files and folders of the device's store, and the Pocket
PC shell's special folders and shortcut files. A store path is the
handheld's: rooted at "\\", case-insensitive, no drive, no "." or ".."
(CE has no current folder and no parent step), so nothing outside the
store's folder on the host can be reached; a host link is never followed.
Listings hold no "." or ".." and come in name order."""
import fnmatch
import os
import stat
import struct

from machine import standin

TABLE = {}
INVALID = 0xFFFFFFFF
ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED = 2, 3, 5
ERROR_NO_MORE_FILES, ERROR_DIR_NOT_EMPTY, ERROR_ALREADY_EXISTS = 18, 145, 183
FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_ARCHIVE = 0x1, 0x10, 0x20
EPOCH_1601 = 11644473600
SPECIAL_FOLDERS = {2: "\\Windows\\Start Menu\\Programs", 5: "\\My Documents", 6: "\\Windows\\Favorites",
                   7: "\\Windows\\StartUp", 0x0B: "\\Windows\\Start Menu"}


class Store:
    """The device's file store: a host folder standing for "\\"."""
    def __init__(self, root):
        self.root = os.path.realpath(root)
        self.listings = {}
        self.next_handle = 0x7000
        self.open_listings = 0

    def host(self, path):
        """The host path of a store path, found case-insensitively; None when
        a step is missing, is a link, or is not a name."""
        parts = [p for p in path.replace("/", "\\").split("\\") if p != ""]
        at = self.root
        for i, part in enumerate(parts):
            if part in (".", "..") or "\0" in part:
                return None
            exact = os.path.join(at, part)
            if not os.path.lexists(exact):
                try:
                    names = os.listdir(at) if os.path.isdir(at) and not os.path.islink(at) else []
                except OSError:
                    names = []
                match = [n for n in names if n.lower() == part.lower()]
                if not match:
                    return None if i < len(parts) - 1 else ("missing", exact)
                exact = os.path.join(at, match[0])
            if os.path.islink(exact):
                return None
            at = exact
        return at

    def existing(self, path):
        at = self.host(path)
        return at if isinstance(at, str) else None

    def program_exists(self, name):
        """CreateProcess's search: the name as given, then in \\Windows."""
        if name is None:
            return False
        return bool(self.existing(name) if name.startswith("\\") else
                    self.existing("\\Windows\\" + name) or self.existing("\\" + name))


def attributes(st):
    if stat.S_ISDIR(st.st_mode):
        a = FILE_ATTRIBUTE_DIRECTORY
    else:
        a = FILE_ATTRIBUTE_ARCHIVE
    if not st.st_mode & stat.S_IWUSR:
        a |= FILE_ATTRIBUTE_READONLY
    return a


def filetime(seconds_ns):
    return seconds_ns // 100 + EPOCH_1601 * 10000000


def find_data(name, st):
    """WIN32_FIND_DATAW as CE 3.0 lays it out: 560 bytes, dwOID after the
    sizes and no short name."""
    size = 0 if stat.S_ISDIR(st.st_mode) else st.st_size
    return struct.pack("<I6IIII", attributes(st),
                       *[x for t in (st.st_mtime_ns, st.st_atime_ns, st.st_mtime_ns)
                         for x in (filetime(t) & 0xFFFFFFFF, filetime(t) >> 32)],
                       size >> 32, size & 0xFFFFFFFF, 0) + (name[:259].encode("utf-16-le") + b"\0\0").ljust(520, b"\0")


FIND_DATA_SIZE = 560


def q(text):
    return "NULL" if text is None else '"%s"' % text.replace("\\", "\\\\")


@standin(TABLE, "GetFileAttributesW", 1)
def GetFileAttributesW(m, path):
    p = m.wstr(path)
    at = m.files.existing(p)
    if at is None:
        m.last_error = ERROR_FILE_NOT_FOUND
        m.log("GetFileAttributesW(%s) = INVALID" % q(p))
        return INVALID
    a = attributes(os.lstat(at))
    m.log("GetFileAttributesW(%s) = 0x%X" % (q(p), a))
    return a


def next_entry(m, handle, out):
    entries = m.files.listings[handle]
    while entries:
        name, host = entries.pop(0)
        try:
            st = os.lstat(host)
        except OSError:
            continue
        if stat.S_ISLNK(st.st_mode):
            continue
        m.write(out, find_data(name, st))
        return name, attributes(st)
    return None


def listing_opened(m):
    if m.files.open_listings == 0:
        m.listing_started = m.instructions
    m.files.open_listings += 1


@standin(TABLE, "FindFirstFileW", 2)
def FindFirstFileW(m, pattern, out):
    p = m.wstr(pattern)
    folder, _, wanted = p.rpartition("\\")
    at = m.files.existing(folder or "\\")
    if at is None or not os.path.isdir(at) or wanted == "":
        m.last_error = ERROR_PATH_NOT_FOUND if at is None else ERROR_FILE_NOT_FOUND
        m.log("FindFirstFileW(%s) = INVALID, error %d" % (q(p), m.last_error))
        return INVALID
    match = "*" if wanted in ("*", "*.*") else wanted.lower()
    names = sorted((n for n in os.listdir(at) if fnmatch.fnmatchcase(n.lower(), match)), key=str.lower)
    handle = m.files.next_handle
    m.files.next_handle += 4
    m.files.listings[handle] = [(n, os.path.join(at, n)) for n in names]
    found = next_entry(m, handle, out)
    if found is None:
        del m.files.listings[handle]
        m.last_error = ERROR_NO_MORE_FILES
        m.log("FindFirstFileW(%s) = INVALID, empty" % q(p))
        return INVALID
    listing_opened(m)
    m.log("FindFirstFileW(%s, record %d bytes) = 0x%X: %s 0x%X" % (q(p), FIND_DATA_SIZE, handle, q(found[0]), found[1]))
    return handle


@standin(TABLE, "FindNextFileW", 2)
def FindNextFileW(m, handle, out):
    if handle not in m.files.listings:
        m.last_error = 6
        m.log("FindNextFileW(0x%X) = FALSE, no such listing" % handle)
        return 0
    found = next_entry(m, handle, out)
    if found is None:
        m.last_error = ERROR_NO_MORE_FILES
        m.log("FindNextFileW(0x%X) = FALSE, no more files" % handle)
        return 0
    m.log("FindNextFileW(0x%X) = TRUE: %s 0x%X" % (handle, q(found[0]), found[1]))
    return 1


@standin(TABLE, "FindClose", 1)
def FindClose(m, handle):
    ok = m.files.listings.pop(handle, None) is not None
    if ok:
        m.files.open_listings -= 1
        if m.files.open_listings == 0:
            m.listing_instructions += m.instructions - m.listing_started
    m.log("FindClose(0x%X) = %s" % (handle, "TRUE" if ok else "FALSE"))
    return int(ok)


def fail(m, name, p, error):
    m.last_error = error
    m.log("%s(%s) = FALSE, error %d" % (name, q(p), error))
    return 0


@standin(TABLE, "DeleteFileW", 1)
def DeleteFileW(m, path):
    p = m.wstr(path)
    at = m.files.existing(p)
    if at is None:
        return fail(m, "DeleteFileW", p, ERROR_FILE_NOT_FOUND)
    st = os.lstat(at)
    if stat.S_ISDIR(st.st_mode) or not st.st_mode & stat.S_IWUSR:
        return fail(m, "DeleteFileW", p, ERROR_ACCESS_DENIED)
    os.unlink(at)
    m.files_deleted += 1
    m.record("deleted", p)
    m.log("DeleteFileW(%s) = TRUE" % q(p))
    return 1


@standin(TABLE, "RemoveDirectoryW", 1)
def RemoveDirectoryW(m, path):
    p = m.wstr(path)
    at = m.files.existing(p)
    if at is None or at == m.files.root:
        return fail(m, "RemoveDirectoryW", p, ERROR_FILE_NOT_FOUND if at is None else ERROR_ACCESS_DENIED)
    if not os.path.isdir(at):
        return fail(m, "RemoveDirectoryW", p, 267)
    if os.listdir(at):
        return fail(m, "RemoveDirectoryW", p, ERROR_DIR_NOT_EMPTY)
    os.rmdir(at)
    m.record("removed", p)
    m.log("RemoveDirectoryW(%s) = TRUE" % q(p))
    return 1


@standin(TABLE, "GetTempPathW", 2)
def GetTempPathW(m, size, buf):
    path = "\\Temp\\"
    if size <= len(path):
        m.log("GetTempPathW(%d) = %d, buffer too small" % (size, len(path) + 1))
        return len(path) + 1
    m.put_wstr(buf, path)
    m.log("GetTempPathW(%d) = %d %s" % (size, len(path), q(path)))
    return len(path)


@standin(TABLE, "GetDiskFreeSpaceExW", 4)
def GetDiskFreeSpaceExW(m, path, free_to_caller, total, total_free):
    p = m.wstr(path)
    if p is not None and m.files.existing(p) is None:
        return fail(m, "GetDiskFreeSpaceExW", p, ERROR_PATH_NOT_FOUND)
    s = os.statvfs(m.files.root)
    values = (s.f_bavail * s.f_frsize, s.f_blocks * s.f_frsize, s.f_bfree * s.f_frsize)
    for a, v in zip((free_to_caller, total, total_free), values):
        if a:
            m.write(a, struct.pack("<Q", v))
    m.log("GetDiskFreeSpaceExW(%s) = TRUE, free %d, total %d, total free %d" % ((q(p),) + values))
    return 1


@standin(TABLE, "SHGetSpecialFolderPath", 4)
def SHGetSpecialFolderPath(m, window, buf, folder, create):
    path = SPECIAL_FOLDERS.get(folder)
    if path is None or (m.files.existing(path) is None and not create):
        m.log("SHGetSpecialFolderPath(0x%X, %d, %d) = FALSE" % (window, folder, create))
        return 0
    m.put_wstr(buf, path, 260)
    m.log("SHGetSpecialFolderPath(0x%X, %d, %d) = TRUE %s" % (window, folder, create, q(path)))
    return 1


@standin(TABLE, "SHCreateShortcut", 2)
def SHCreateShortcut(m, shortcut, target):
    s, t = m.wstr(shortcut), m.wstr(target)
    at = m.files.host(s)
    # CE 3.0: fails when the file is there already, and takes targets of up
    # to 256 characters.
    if not isinstance(at, tuple) or len(t) > 256:
        m.log("SHCreateShortcut(%s, %s) = FALSE" % (q(s), q(t)))
        return 0
    with open(at[1], "wb") as f:
        f.write(("%d#%s" % (len(t), t)).encode("latin-1", "replace"))
    m.record("shortcut", "%s -> %s" % (s, t))
    m.log("SHCreateShortcut(%s, %s) = TRUE" % (q(s), q(t)))
    return 1


@standin(TABLE, "SHGetShortcutTarget", 3)
def SHGetShortcutTarget(m, shortcut, buf, size):
    s = m.wstr(shortcut)
    at = m.files.existing(s)
    text = None
    if at is not None and os.path.isfile(at):
        raw = open(at, "rb").read(4096).decode("latin-1").rstrip("\r\n")
        count, hash_, rest = raw.partition("#")
        if hash_ and count.strip().isdigit():
            text = rest
    if text is None:
        m.log("SHGetShortcutTarget(%s, %d) = FALSE" % (q(s), size))
        return 0
    m.put_wstr(buf, text, size)
    m.log("SHGetShortcutTarget(%s, %d) = TRUE %s" % (q(s), size, q(text[:max(size - 1, 0)])))
    return 1
