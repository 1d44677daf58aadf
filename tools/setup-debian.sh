#!/bin/bash
# Installs what building and testing Kestrum needs on Debian 12, and nothing
# that is already there: mingw-w64 for i686, Wine (32-bit), CMake, GoogleTest
# sources, Xvfb, xdotool, ImageMagick, and e2fsprogs for the devices' stores.
set -eu
packages="cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          googletest wine wine32:i386 fonts-wine xvfb xauth xdotool imagemagick python3 e2fsprogs"
# The Pocket PC toolchain's build (tools/build-pocketpc.sh): GCC 4.4 needs GMP and MPFR.
packages="$packages libgmp-dev libmpfr-dev patch xz-utils git"
missing=
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
echo "installing:$missing"
$sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
