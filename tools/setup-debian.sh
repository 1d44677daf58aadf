#!/bin/bash
# Installs what building and testing Kestrum needs on Debian 12, and nothing
# that is already there: CMake, mingw-w64 for i686 (the desktop's install set
# is built for i686 on every host), GoogleTest sources, Xvfb, xdotool,
# ImageMagick, e2fsprogs for the devices' stores, gcab and cabextract for the
# install cabinets; for the device's web view and its browser test: x11vnc,
# websockify, noVNC, Chromium, ss (iproute2), Node with npm, and the node
# packages of package.json (puppeteer-core, which downloads no browser); for
# running the Pocket PC build on an emulated StrongARM: python3-unicorn and
# python3-capstone.
#
# The programs and the devices match the host's word size, which
# device_wine_arch (tools/devicelib.sh) learns from the host before anything
# is installed:
#   - a host that runs 32-bit programs gets 32-bit Wine (wine32:i386) and
#     i686 programs;
#   - a host without a 32-bit mode gets 64-bit Wine and mingw-w64 for x86-64,
#     and nothing for i386;
#   - a host that runs 32-bit programs but whose 32-bit Wine cannot be
#     installed says so, records it where device_wine_arch reads it, and goes
#     on as a 64-bit host.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/devicelib.sh"
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo

updated=
apt_update() {
    [ -n "$updated" ] && return 0
    updated=1
    # A package index that fails to download (a mirror in the middle of a
    # sync, say) leaves the lists there are; what cannot be installed from
    # them stops below, by name.
    $sudo apt-get update -qq || echo "setup: apt-get update failed; going on with the package lists there are" >&2
}

missing_of() {
    local p missing=
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    echo "$missing"
}

# Installs the missing ones of PACKAGES; returns 1 (having said nothing) when
# apt cannot, with apt's own words in $apt_log.
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT
try_install() {
    local missing
    missing=$(missing_of "$@")
    [ -z "$missing" ] && return 0
    echo "installing:$missing"
    apt_update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >"$apt_log" 2>&1
}

# The first of PACKAGES that apt cannot install, with apt's reason.
say_which_failed() {
    local p reason
    for p in $(missing_of "$@"); do
        if ! reason=$($sudo apt-get install -s -qq --no-install-recommends "$p" 2>&1 >/dev/null); then
            echo "setup: cannot install $p: $(echo "$reason" | grep '^E:' | head -n 3 | tr '\n' ' ')" >&2
            return
        fi
    done
    echo "setup: apt-get install failed:" >&2
    tail -n 5 "$apt_log" >&2
}

install_missing() {
    try_install "$@" || { say_which_failed "$@"; exit 1; }
}

packages="cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          googletest fonts-wine xvfb xauth xdotool imagemagick python3 e2fsprogs gcab cabextract
          x11vnc websockify novnc chromium iproute2"
# The Pocket PC build run on an emulated StrongARM (tools/pocketpc-run): Debian's own Python 3 with
# Unicorn and Capstone.
packages="$packages python3-unicorn python3-capstone"
# The Pocket PC toolchain's build (tools/build-pocketpc.sh): the host's own C
# and C++ compilers (a fresh Debian has none), and GMP and MPFR for GCC 4.4.
packages="$packages gcc g++ libgmp-dev libmpfr-dev patch xz-utils git"
# A Node of another source (with its own npm) is kept.
command -v npm >/dev/null 2>&1 || packages="$packages nodejs npm"
install_missing $packages

win64_packages="wine wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev"
if [ "$(device_wine_arch)" = win32 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
        updated=
    fi
    if ! try_install wine wine32:i386; then
        reason=$(grep '^E:' "$apt_log" | head -n 1)
        echo "setup: wine32:i386 cannot be installed (${reason:-apt-get install failed}); this host's devices and programs are 64-bit" >&2
        mkdir -p "$(dirname "$(device_arch_record)")"
        echo win64 >"$(device_arch_record)"
    fi
elif device_host_runs_32bit; then
    echo "setup: devices are 64-bit, as $(device_arch_record) records (remove it to try 32-bit Wine again)"
fi
[ "$(device_wine_arch)" = win64 ] && install_missing $win64_packages

(cd "$top" && npm ls --depth=0 >/dev/null 2>&1) || {
    echo "installing the node packages of package.json"
    (cd "$top" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}
