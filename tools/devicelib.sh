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
    # One locale whatever the caller's: Wine spells the store's file names in
    # the locale's character set, and without a UTF-8 one (a fresh system's
    # POSIX locale) a file with a name outside ASCII cannot even be made.
    export LC_ALL=C.UTF-8
    unset LANGUAGE
    if [ "$DEVICE_WINE_ARCH" = win64 ]; then
        case ":$PATH:" in *":$DEVICE_LIB_DIR/wine64:"*) ;; *) export PATH="$DEVICE_LIB_DIR/wine64:$PATH" ;; esac
    fi
    # No debugger: Wine hands an unhandled exception to winedbg, whose crash
    # dialog waits for a click that never comes. Without it the program ends
    # at once with the exception's code, after Wine's "Unhandled ..." line.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
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

; Where the device's installer registers applications; every Pocket PC has it.
[HKEY_LOCAL_MACHINE\SOFTWARE\Apps]

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

# The handheld's shell programs of a build (navigation bar, the installer
# and Remove Programs, and screenpos for scripts that tap), kept in \Windows
# as the handheld keeps its own.
device_install_shell() {
    local bin=$1 store=$2 exe
    for exe in navbar.exe screenpos.exe wceload.exe unload.exe; do
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
# is ever made and nothing else starts one. Wine's own words go to LOG, if
# given, for the message of a desktop that never comes up.
device_start_navbar() {
    setsid wine explorer.exe /desktop=Handheld 'D:\Windows\navbar.exe' </dev/null >/dev/null 2>"${1:-/dev/null}" &
}

# The last line of Wine's own words in LOG: not a debug channel's trace.
device_wine_last_line() {
    grep -v -e '^\s*$' -e '^[0-9a-f]*:\(trace\|warn\|fixme\):' "$1" 2>/dev/null | tail -n 1 | tr -d '\r'
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

# --- owners: a harness run's device lives as long as its run -------------------
#
# A harness run holds a lock on DEV/owner (flock) from the moment its folder
# exists until it has removed it, and nothing the run starts inherits the
# lock. The kernel drops it however the run ends, SIGKILL included, so a run
# folder whose lock can be taken has no owner left: that is certain, not
# guessed. Runs make, reap and remove run folders only while they hold
# DEVICES/.claim, so no folder is ever seen before its lock is taken or after
# its lock file is gone; a folder without one was left by an older harness.

# The start time of process PID (clock ticks after boot), which tells it from
# a later process given the same number; nothing when no such process runs.
device_process_start() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    stat=${stat##*) }   # the name before it may hold spaces and parentheses
    # shellcheck disable=SC2086
    set -- $stat
    echo "${20}"
}

# True while PID is still the process NAME that started at START.
device_process_is() {
    [ "$(cat "/proc/$2/comm" 2>/dev/null)" = "$1" ] && [ -n "$3" ] && [ "$(device_process_start "$2")" = "$3" ]
}

# Makes a new run folder under DEVICES owned by this shell, after reaping the
# folders of dead runs. Sets DEVICE_RUN_DIR and DEVICE_OWNER_FD, the locked
# descriptor; a program the run starts that may outlive it is started with
# {DEVICE_OWNER_FD}>&-, or a run killed while it runs would look alive.
device_claim_run() {
    local devices=$1 claim
    mkdir -p "$devices"
    exec {claim}>"$devices/.claim"
    flock "$claim"
    device_reap_dead "$devices"
    DEVICE_RUN_DIR=$(mktemp -d "$devices/run.XXXXXX") || device_die "could not make a device folder in $devices"
    exec {DEVICE_OWNER_FD}>"$DEVICE_RUN_DIR/owner"
    flock -n "$DEVICE_OWNER_FD" || device_die "could not lock $DEVICE_RUN_DIR/owner"
    exec {claim}>&-
}

# Reaps every run folder under DEVICES whose owner is gone; called while
# DEVICES/.claim is held. A device kept on purpose (DEV/kept) stays.
device_reap_dead() {
    local dev
    for dev in "$1"/run.*; do
        [ -d "$dev" ] && [ ! -e "$dev/kept" ] || continue
        # A lock that cannot be taken has a live owner (or cannot be
        # checked): the folder stays.
        flock -n "$dev/owner" true 2>/dev/null || continue
        device_reap "$dev"
    done
}

# Ends a dead run's screen (DEV/screen: "PID START" of its Xvfb) and Wine
# server, unmounts its store and removes the folder, in one line.
device_reap() {
    local dev=$1 pid='' start='' ended="Wine server"
    [ -f "$dev/screen" ] && read -r pid start <"$dev/screen"
    if [ -n "$pid" ] && device_process_is Xvfb "$pid" "$start"; then
        kill "$pid"
        ended="Wine server and screen"
    fi
    [ -d "$dev/prefix" ] && ( device_env "$dev"; wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1 )
    device_unmount_store "$dev"
    if mountpoint -q "$dev/store" 2>/dev/null || ! rm -rf --one-file-system -- "$dev"; then
        echo "device: could not reap $dev, left by a run that was killed" >&2
        return 0
    fi
    echo "device: reaped $dev, left by a run that was killed: ended its $ended, unmounted its store, removed the folder" >&2
}

# --- crashes ------------------------------------------------------------------

# What Wine said of the first unhandled exception in FILE (a program's
# stderr), as "exception CODE (what) at address ADDRESS"; false when it said
# nothing. Wine names the exception in words; the exit status keeps only the
# low byte of its code, so the code comes from the words.
device_crash_report() {
    local line what address code
    line=$(grep -a -m 1 '^wine: Unhandled ' "$1" 2>/dev/null) || return 1
    what=$(sed -n 's/^wine: Unhandled \(.*\) at address [0-9A-Fa-fx]*.*$/\1/p' <<<"$line")
    address=$(sed -n 's/^.* at address \([0-9A-Fa-fx]*\).*$/\1/p' <<<"$line")
    [ -n "$what" ] || { echo "${line#wine: }"; return 0; }
    case "$what" in
        "page fault"*)             code=0xC0000005 ;;
        "division by zero")        code=0xC0000094 ;;
        "overflow")                code=0xC0000095 ;;
        "array bounds")            code=0xC000008C ;;
        "illegal instruction")     code=0xC000001D ;;
        "stack overflow")          code=0xC00000FD ;;
        "privileged instruction")  code=0xC0000096 ;;
        "alignment")               code=0x80000002 ;;
        "exception 0x"*)           code=${what#exception }; code=0x$(tr a-f A-F <<<"${code:2:8}"); what= ;;
        *)                         code=unknown ;;
    esac
    echo "exception $code${what:+ ($what)} at address $address"
}

# The processor a device reports (GetSystemInfo's dwProcessorType), as
# installation cabinets name it: Pentium for 32-bit devices, x86-64 else.
device_cab_processor() {
    if [ "${DEVICE_WINE_ARCH:-$(device_wine_arch)}" = win64 ]; then echo 8664; else echo 586; fi
}

# --- the emulated desktop -----------------------------------------------------

# The desktop computer a device is connected to: a sandboxed prefix of its
# own, DEV/desktop/prefix, with no drive but C: and no device's mark, made
# from the device template. Its application manager stand-in is
# C:\Program Files\CE Services\CEAppMgr.exe, found through the App Paths key
# as on a real desktop.
DESKTOP_APPMGR_DIR='Program Files/CE Services'

device_desktop_registry_text() {
    cat <<'REG'
Windows Registry Editor Version 5.00

[-HKEY_LOCAL_MACHINE\System\Emulated Handheld]

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"=-

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAppMgr.exe]
@="C:\\Program Files\\CE Services\\CEAppMgr.exe"
REG
}

# Refuse to go on unless the desktop's prefix reaches nothing outside itself.
device_check_desktop_sandbox() {
    local desk=$1 link
    for link in "$desk/prefix/dosdevices/"*; do
        [ -e "$link" ] || [ -L "$link" ] || continue
        case "${link##*/}" in
            c:) [ "$(readlink -f "$link")" = "$(readlink -f "$desk/prefix/drive_c")" ] || device_die "the desktop's c: leaves it" ;;
            com[0-9]*|lpt[0-9]*) ;;
            *) device_die "unexpected desktop entry ${link##*/} in $desk/prefix/dosdevices" ;;
        esac
    done
}

device_make_desktop() {
    local tpl=$1 desk=$2
    rm -rf "$desk"
    mkdir -p "$desk"
    cp -a "$tpl/prefix" "$desk/prefix" || device_die "could not copy the template for the desktop"
    rm -f "$desk/prefix/dosdevices/d:"
    device_check_desktop_sandbox "$desk"
    mkdir -p "$desk/prefix/drive_c/$DESKTOP_APPMGR_DIR"
    device_desktop_registry_text >"$desk/prefix/drive_c/desktop.reg"
    (
        device_env "$desk"
        cd "$desk/prefix/drive_c" || exit 1
        wine reg import 'C:\desktop.reg' >/dev/null 2>&1 && wineserver -w
    ) || device_die "the desktop's registry did not take its settings"
    rm -f "$desk/prefix/drive_c/desktop.reg"
}
