# Shell functions that make and run emulated handhelds ("devices").
#
# A device is one folder that holds everything: a Wine prefix whose
# only drives are C: (the prefix's own) and D: (the device's file store),
# the file store itself, and nothing that reaches outside the folder.
#
#   DEV/prefix      the Wine prefix (registry = the handheld's registry)
#   DEV/store       drive D:, laid out as a handheld's file store
#
# The device's mark is in its own registry: the value "Device" (REG_DWORD 1)
# under HKEY_LOCAL_MACHINE "System\Emulated Handheld", a key no cleaning task
# opens. The emulated Kestrum.exe and every test program run only where the
# mark is and no drive but C: and D: exists.
#
# Sourced by tests/harness/run-in-device, tools/device and tools/demo.sh.

# The mark, as registry text; the template carries it, and tools/device
# install adds it to a device made before it existed.
device_mark_text() {
    cat <<'REG'
[HKEY_LOCAL_MACHINE\System\Emulated Handheld]
"Device"=dword:00000001
REG
}

# A device folder: a prefix whose D: is the folder's own store.
device_is_folder() {
    [ -d "$1/prefix" ] && [ -d "$1/store" ] && [ "$(readlink "$1/prefix/dosdevices/d:" 2>/dev/null)" = ../../store ]
}

device_die() { echo "device: $*" >&2; exit 1; }

device_need_wine() {
    command -v wine >/dev/null 2>&1 || device_die "wine is not installed (tools/setup-debian.sh installs the Wine this host needs)"
    command -v wineserver >/dev/null 2>&1 || device_die "wineserver is not installed"
}

DEVICE_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Where the set-up records that this host's devices are 64-bit although the
# host runs 32-bit programs (its 32-bit Wine could not be installed).
device_arch_record() {
    echo "${KESTRUM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrum}/device-wine-arch"
}

# Whether this host runs 32-bit x86 programs, asked of the host itself: a
# 96-byte i386 ELF that only exits with status 42. Some virtual machines have
# no 32-bit mode at all ("Exec format error"). KESTRUM_HOST_RUNS_32BIT=yes or
# =no answers for the host (to try the other kind of host's set-up).
device_host_runs_32bit() {
    case "${KESTRUM_HOST_RUNS_32BIT:-}" in yes) return 0 ;; no) return 1 ;; esac
    local probe status
    probe=$(mktemp "${TMPDIR:-/tmp}/kestrum-elf32.XXXXXX") || return 1
    # ELF header (52 bytes), one loadable segment (32), then
    # mov eax,1; mov ebx,42; int 0x80.
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'\
'\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00'\
'\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    chmod 700 "$probe"
    "$probe" 2>/dev/null
    status=$?
    rm -f "$probe"
    [ "$status" = 42 ]
}

# The word size of this host's devices and programs: "win32" where the host
# runs 32-bit programs, else "win64", and "win64" too where the set-up
# recorded that the host's 32-bit Wine cannot be installed. The build
# (CMakeLists.txt), the set-up and the devices all ask this one function.
device_wine_arch() {
    if device_host_runs_32bit && [ "$(cat "$(device_arch_record)" 2>/dev/null)" != win64 ]; then
        echo win32
    else
        echo win64
    fi
}

# The Wine environment of a device; programs run with their current directory on D:.
device_env() {
    local dev=$1
    DEVICE_WINE_ARCH=${DEVICE_WINE_ARCH:-$(device_wine_arch)}
    export WINEPREFIX="$dev/prefix" WINEARCH=$DEVICE_WINE_ARCH
    if [ "$DEVICE_WINE_ARCH" = win64 ]; then
        case ":$PATH:" in *":$DEVICE_LIB_DIR/wine64:"*) ;; *) export PATH="$DEVICE_LIB_DIR/wine64:$PATH" ;; esac
    fi
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEDEBUG=${WINEDEBUG:--all}
}

# Refuse to go on unless the prefix reaches nothing outside the device.
device_check_sandbox() {
    local dev=$1 link target
    for link in "$dev/prefix/dosdevices/"*; do
        [ -e "$link" ] || [ -L "$link" ] || continue
        case "${link##*/}" in
            c:) target=$(readlink -f "$link"); [ "$target" = "$(readlink -f "$dev/prefix/drive_c")" ] || device_die "c: leaves the device: $target" ;;
            d:) target=$(readlink -f "$link"); [ "$target" = "$(readlink -f "$dev/store")" ] || device_die "d: leaves the device: $target" ;;
            # Wine maps serial and parallel ports here again at every start; they are not drives.
            com[0-9]*|lpt[0-9]*) ;;
            *) device_die "unexpected device entry ${link##*/} in $dev/prefix/dosdevices" ;;
        esac
    done
    if find "$dev/store" -type l -print -quit | grep -q .; then
        device_die "the file store holds a symbolic link; refusing to run"
    fi
}

# The handheld's folder layout on drive D:.
device_layout() {
    local store=$1 d
    for d in "Windows" "Windows/StartUp" "Windows/Start Menu" "Windows/AppMgr" \
             "Windows/AppMgr/Install" "Windows/Profiles/guest" "My Documents" \
             "Program Files" "Temp"; do
        mkdir -p "$store/$d"
    done
}

# Registry of a fresh handheld, merged into the prefix once when the template is made.
device_registry_text() {
    cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Environment]
"TEMP"="D:\\Temp"
"TMP"="D:\\Temp"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Handheld"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Handheld"="240x320"

[HKEY_CURRENT_USER\Control Panel\Colors]
"ButtonFace"="255 255 255"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Cache"="\\Windows\\Profiles\\guest\\Temporary Internet Files"
"History"="\\Windows\\Profiles\\guest\\History"
"Cookies"="\\Windows\\Profiles\\guest\\Cookies"

REG
    device_font_registry_text
    device_mark_text
}

# The handheld draws in Tahoma. The device keeps its own copy of Wine's Tahoma
# (DEVICE_FONT_FILES, copied into C:\windows\Fonts) and sends every family
# its programs ask for to it: the dialogs' "System", the dialog and GUI fonts,
# and the families comctl32 and the stand-in tools name. Without this a family
# resolves through the host's fonts, and a host with other fonts installed
# (Liberation, which Chromium brings, answers "Arial") lays out every page
# differently.
#
# Bold comes from Wine's emboldening of that one face. Wine's tahomabd.ttf
# is no bold face: its outlines are the regular face's, glyph for glyph, its
# 9 to 16 pixel bitmaps draw the same strokes, and only its advance widths
# are bold ones. A device that registers it draws every bold text (the page
# headings, the bar's title) in regular strokes, spaced wide. With no bold
# face to choose, Wine thickens Tahoma's outlines for a bold request at every
# size.
DEVICE_FONT_DIR=/usr/share/wine/fonts
DEVICE_FONT_FILES="tahoma.ttf"
DEVICE_FONT_FAMILIES="System|MS Shell Dlg|MS Shell Dlg 2|MS Sans Serif|Arial|Helvetica|Microsoft Sans Serif|Segoe UI"

device_font_registry_text() {
    local family
    printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\n'
    printf '"Tahoma (TrueType)"="tahoma.ttf"\n'
    printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n'
    local IFS='|'
    for family in $DEVICE_FONT_FAMILIES; do
        printf '"%s"="Tahoma"\n' "$family"
    done
}

# Copies the device's fonts into a new prefix; a host without them cannot make
# a device that draws as every other does.
device_install_fonts() {
    local prefix=$1 f
    mkdir -p "$prefix/drive_c/windows/Fonts"
    for f in $DEVICE_FONT_FILES; do
        [ -f "$DEVICE_FONT_DIR/$f" ] || device_die "$DEVICE_FONT_DIR/$f is missing (Debian: apt-get install fonts-wine)"
        cp "$DEVICE_FONT_DIR/$f" "$prefix/drive_c/windows/Fonts/$f"
    done
}

# Boot a template prefix once: about ten seconds. Later devices are hard-linked clones of it.
device_make_template() {
    local tpl=$1
    device_need_wine
    rm -rf "$tpl.tmp"
    mkdir -p "$tpl.tmp/store"
    device_layout "$tpl.tmp/store"
    (
        device_env "$tpl.tmp"
        cd "$tpl.tmp" || exit 1
        wine wineboot -i >/dev/null 2>&1
        wineserver -w
        # No drive may reach the host: drop z: and the serial ports, add D:.
        rm -f prefix/dosdevices/z: prefix/dosdevices/com* prefix/dosdevices/lpt*
        ln -s ../../store prefix/dosdevices/d:
        device_install_fonts prefix
        device_registry_text > prefix/drive_c/handheld.reg
        cd store && wine reg import 'C:\handheld.reg' >/dev/null 2>&1
        wineserver -w
    ) || device_die "could not boot a Wine prefix in $tpl.tmp"
    [ -f "$tpl.tmp/prefix/system.reg" ] || device_die "could not boot a Wine prefix in $tpl.tmp"
    rm -f "$tpl.tmp/prefix/drive_c/handheld.reg"
    [ -e "$tpl.tmp/prefix/dosdevices/z:" ] && device_die "z: came back in the template"
    mv "$tpl.tmp" "$tpl"
}

# Make the template under a lock, so parallel test runs boot it only once.
device_ensure_template() {
    local tpl=$1
    mkdir -p "$(dirname "$tpl")"
    # A template made by another Wine or another version of this file is made again.
    local stamp
    stamp="$(wine --version 2>/dev/null) $(device_wine_arch) $(cksum <"${BASH_SOURCE[0]}")"
    (
        flock 9
        if [ -d "$tpl" ] && { [ ! -f "$tpl/prefix/system.reg" ] || [ "$(cat "$tpl/.stamp" 2>/dev/null)" != "$stamp" ]; }; then
            rm -rf "$tpl"
        fi
        if [ ! -d "$tpl" ]; then
            device_make_template "$tpl"
            echo "$stamp" >"$tpl/.stamp"
        fi
    ) 9>"$tpl.lock"
}

# A new device from the template: hard links for the prefix, fresh copies of
# the files Wine rewrites in place, and an empty file store of its own of
# STORE-SIZE (default 32M), mounted before anything is laid out in it. Only
# the prefix is linked; nothing of the template reaches into the store.
device_clone() {
    local tpl=$1 dev=$2 size=${3:-$DEVICE_STORE_SIZE_DEFAULT} f
    mkdir -p "$dev"
    cp -al "$tpl/prefix" "$dev/prefix"
    for f in system.reg user.reg userdef.reg drive_c/windows/win.ini drive_c/windows/system.ini; do
        [ -f "$tpl/prefix/$f" ] && cp --remove-destination "$tpl/prefix/$f" "$dev/prefix/$f"
    done
    rm -f "$dev/prefix/dosdevices/d:"
    ln -s ../../store "$dev/prefix/dosdevices/d:"
    device_mount_store "$dev" "$size"
    device_layout "$dev/store"
}

# The handheld's shell programs of a build (navigation bar, and screenpos for
# scripts that tap), kept in \Windows as the handheld keeps its own.
device_install_shell() {
    local bin=$1 store=$2 exe
    for exe in navbar.exe screenpos.exe; do
        [ -f "$bin/$exe" ] && cp "$bin/$exe" "$store/Windows/$exe"
    done
    return 0
}

# --- the file store: a file system of a handheld's size -----------------------

# The default store: 32 MB, the object store of a Pocket PC of its time.
DEVICE_STORE_SIZE_DEFAULT=32M

# Gives DEV/store a file system of its own of SIZE bytes (32M, 512K, 1G), so
# that free space on D: reads as on a handheld. KIND "tmpfs" (test devices,
# which live for one run) or "image": a file system image DEV/store.img,
# loop-mounted, that keeps the device's files while it is stopped. Where
# mounting is not possible (not root, no loop device) it says so in one line
# and the store stays a folder on the host disk. SIZE "host" asks for that
# folder on purpose (benchmarks that compare with the host's own tools).
device_mount_store() {
    local dev=$1 size=${2:-$DEVICE_STORE_SIZE_DEFAULT} kind=${3:-tmpfs} why
    mkdir -p "$dev/store"
    [ "$size" = host ] && return 0
    case "$size" in
        [0-9]*[0-9kKmMgG] | [0-9]) ;;
        *) device_die "store size must be a number with an optional K, M or G: $size" ;;
    esac
    if [ "$(id -u)" != 0 ]; then
        why="not root"
    elif [ "$kind" = tmpfs ]; then
        why=$(mount -t tmpfs -o "size=$size,mode=0755" kestrum-store "$dev/store" 2>&1) && return 0
    else
        # ext2 with 4 KiB blocks, no reserve and room for 2048 files: little
        # overhead, nothing held back.
        why=$(truncate -s "$size" "$dev/store.img" 2>&1 &&
              mkfs.ext2 -q -F -m 0 -b 4096 -N 2048 "$dev/store.img" 2>&1 &&
              mount -o loop "$dev/store.img" "$dev/store" 2>&1) && { rmdir "$dev/store/lost+found"; return 0; }
        rm -f "$dev/store.img"
    fi
    echo "device: cannot mount a $size store ($(echo "$why" | head -n 1)); D: stays on the host disk" >&2
    return 0
}

# Mounts a stopped device's store image again; nothing to do for a store
# that is mounted already or lives on the host disk.
device_remount_store() {
    local dev=$1
    [ -f "$dev/store.img" ] || return 0
    mountpoint -q "$dev/store" 2>/dev/null && return 0
    mount -o loop "$dev/store.img" "$dev/store" || device_die "could not mount the store of $dev again"
}

# Unmounts DEV/store when it is a mount; safe to call at any time, any number
# of times. A store still held by a process that survived is detached lazily,
# so no mount outlives the device.
device_unmount_store() {
    local dev=$1
    [ -d "$dev/store" ] || return 0
    if mountpoint -q "$dev/store" 2>/dev/null; then
        umount "$dev/store" 2>/dev/null || umount -l "$dev/store" 2>/dev/null ||
            echo "device: could not unmount $dev/store" >&2
    fi
}

# Starts the device's screen session in the background, with the caller's
# device environment and current folder: Wine's explorer makes the desktop
# ("Handheld", 240 x 320 as the registry gives it) and then starts the
# navigation bar in it. Started alone, the bar's first window would have to
# start that explorer and wait for it, and Wine gives up that wait after a
# bound of its own: under load the bar then ends with status 1, no desktop
# is ever made and nothing else starts one.
device_start_navbar() {
    setsid wine explorer.exe /desktop=Handheld 'D:\Windows\navbar.exe' </dev/null >/dev/null 2>&1 &
}

# The id of the device's desktop window on display DISPLAY, once it has its
# final 240 x 320 size: while Wine's explorer is still making the desktop, a
# window of that name may exist at another size. Waits up to 120 s (a bound
# that only stops a screen that never comes up: a fresh device's first start
# has taken over 60 s beside a busy core and parallel devices); prints
# nothing then.
device_desktop_window() {
    local d=$1 id w h deadline=$((SECONDS + 120))
    while [ $SECONDS -lt $deadline ]; do
        for id in $(DISPLAY=$d xdotool search --name "Handheld - Wine desktop" 2>/dev/null); do
            w= h=
            eval "$(DISPLAY=$d xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=[0-9]+$' |
                    sed 's/^WIDTH/w/; s/^HEIGHT/h/')"
            [ "$w" = 240 ] && [ "$h" = 320 ] && { echo "$id"; return 0; }
        done
        sleep 0.1   # polling for the desktop window
    done
    return 1
}

# Start a private X server and export its DISPLAY; its pid goes to DEVICE_XVFB_PID.
device_start_display() {
    local fifo
    command -v Xvfb >/dev/null 2>&1 || device_die "Xvfb is not installed"
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    DEVICE_XVFB_PID=$!
    local n
    read -r n <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$n"
}

device_stop_display() {
    [ -n "${DEVICE_XVFB_PID:-}" ] && kill "$DEVICE_XVFB_PID" 2>/dev/null
    DEVICE_XVFB_PID=
}
