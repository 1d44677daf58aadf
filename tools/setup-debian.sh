#!/bin/bash
# Installs what building and testing Kestrum needs on Debian 12, and nothing
# that is already there: mingw-w64 for i686, Wine (32-bit), CMake, GoogleTest
# sources, Xvfb, xdotool, ImageMagick, and e2fsprogs for the devices' stores;
# for the device's web view and its browser test: x11vnc, websockify, noVNC,
# Chromium, ss (iproute2), Node with npm, and the node packages of
# package.json (puppeteer-core, which downloads no browser).
# A host that cannot run 32-bit programs (some virtual machines have no 32-bit
# mode) also gets mingw-w64 for x86-64 and 64-bit Wine: its devices are 64-bit.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo

install_missing() {
    local p missing=
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "installing:$missing"
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

packages="cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          googletest wine wine32:i386 fonts-wine xvfb xauth xdotool imagemagick python3 e2fsprogs
          x11vnc websockify novnc chromium iproute2"
# The Pocket PC toolchain's build (tools/build-pocketpc.sh): GCC 4.4 needs GMP and MPFR.
packages="$packages libgmp-dev libmpfr-dev patch xz-utils git"
# A Node of another source (with its own npm) is kept.
command -v npm >/dev/null 2>&1 || packages="$packages nodejs npm"
install_missing $packages
if [ "$(. "$top/tools/devicelib.sh" && device_wine_arch)" = win64 ]; then
    install_missing wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
fi
(cd "$top" && npm ls --depth=0 >/dev/null 2>&1) || {
    echo "installing the node packages of package.json"
    (cd "$top" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}
