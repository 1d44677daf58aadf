#!/bin/bash
# Builds Kestrum.exe for a Windows CE 3.0 Pocket PC (ARM) into build-pocketpc/bin/, with its installation cabinet
# Kestrum.ARM.CAB, and the install set for the user in build-pocketpc/installset/ (the cabinet, Setup.ini,
# deskinstall.exe for the x86 desktop, README.txt), and prints the install set's path last.
# Makes the arm-mingw32ce toolchain first when it is missing: GNU binutils from Debian's source package,
# the CeGCC compiler (GCC 4.4), its CE runtime and headers.
#
#   tools/build-pocketpc.sh                  toolchain if missing, then Kestrum and its install set
#   tools/build-pocketpc.sh --toolchain-only toolchain if missing (CI), prints its prefix last
#
#   KESTRUM_CEGCC_SOURCE  the CeGCC sources: the tarball or a git mirror (default: ../shared/toolchain/ beside
#                         the checkout)
#   KESTRUM_CE_PREFIX     where the toolchain lives (default: a folder under ~/.cache/kestrum/ named by the
#                         sources' revision and the patch set)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
recipe=$root/tools/pocketpc

target=arm-mingw32ce
cegcc_revision=1dff32ff6009f2a678618a373098ff332916d251
binutils_version=2.40
cegcc_url=https://github.com/svn2github/cegcc
jobs=2

patch_set=$(cat "$recipe"/*.patch | sha256sum | cut -c1-8)
prefix=${KESTRUM_CE_PREFIX:-$HOME/.cache/kestrum/$target-cegcc-${cegcc_revision:0:7}-binutils-$binutils_version-p$patch_set}
build=$root/build-pocketpc

toolchain_only=
case "${1:-}" in
    --toolchain-only) toolchain_only=1 ;;
    --print-prefix) echo "$prefix"; exit 0 ;;
    "") ;;
    *) echo "usage: $0 [--toolchain-only | --print-prefix]" >&2; exit 2 ;;
esac

# Runs one stage with its output in $logs/NAME.log: one line as it starts, one as it ends with its time.
stage() {
    local name=$1; shift
    local log=$logs/$name.log start=$SECONDS
    echo "$name: started"
    if ! ("$@") >"$log" 2>&1; then
        echo "$name: FAILED after $((SECONDS - start)) s; the end of $log:" >&2
        tail -n 30 "$log" >&2
        exit 1
    fi
    echo "$name: done in $((SECONDS - start)) s"
}

# A toolchain stage that finished in an earlier, interrupted build is not run again.
toolchain_stage() {
    if [ -e "$logs/$1.done" ]; then
        echo "$1: done in an earlier run"
        return
    fi
    stage "$@"
    touch "$logs/$1.done"
}

# --- the toolchain -------------------------------------------------------------------------------------------

find_cegcc_source() {
    local source=${KESTRUM_CEGCC_SOURCE:-}
    if [ -z "$source" ]; then
        source=$(ls "$root"/../shared/toolchain/cegcc-*-src.tar.xz 2>/dev/null | head -n 1) || true
    fi
    if [ -z "$source" ] || [ ! -e "$source" ]; then
        echo "missing the CeGCC sources: set KESTRUM_CEGCC_SOURCE to the tarball or a git mirror of $cegcc_url" \
             "(revision ${cegcc_revision:0:7})" >&2
        exit 1
    fi
    cegcc_source=$(cd "$(dirname "$source")" && pwd)/$(basename "$source")
}

unpack_cegcc() {
    rm -rf "$work/cegcc"
    if [ -d "$cegcc_source" ]; then
        git -C "$cegcc_source" archive "$cegcc_revision" cegcc/src/gcc-4.4.0 cegcc/src/mingw cegcc/src/w32api |
            tar -x -C "$work"
    else
        local id
        id=$(xz -dc "$cegcc_source" | git get-tar-commit-id) || true
        if [ "$id" != "$cegcc_revision" ]; then
            echo "$cegcc_source is revision '${id:-unknown}', this recipe is for $cegcc_revision"
            return 1
        fi
        tar -xJf "$cegcc_source" -C "$work"
    fi
}

# binutils from Debian's source package, through a private deb-src list: the system's apt sources stay as they are.
fetch_binutils() {
    local apt=$work/apt
    mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache/archives/partial"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\n%s\n' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' >"$apt/parts/debian-src.sources"
    local options="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt/parts
                   -o Dir::State::Lists=$apt/lists -o Dir::Cache=$apt/cache"
    apt-get $options update
    (cd "$work" && apt-get $options source --download-only binutils)
    rm -rf "$work/binutils-$binutils_version"
    tar -xJf "$work/binutils_$binutils_version.orig.tar.xz" -C "$work"
    local p
    for p in "$recipe"/binutils-*.patch; do
        patch -p1 -d "$work/binutils-$binutils_version" <"$p"
    done
}

build_binutils() {
    rm -rf "$work/build-binutils" && mkdir "$work/build-binutils" && cd "$work/build-binutils"
    "$work/binutils-$binutils_version/configure" --target=$target --prefix="$prefix" \
        --disable-nls --disable-werror --disable-gdb --disable-gdbserver --disable-sim --disable-gprofng
    make -j$jobs MAKEINFO=true
    make install MAKEINFO=true
}

# GCC 4.4 predates what Debian 12's compiler assumes of C: old inline rules, common symbols, C89.
configure_gcc() {
    rm -rf "$work/build-gcc" && mkdir "$work/build-gcc" && cd "$work/build-gcc"
    CFLAGS='-O2 -fgnu89-inline -fcommon -std=gnu89' CXXFLAGS='-O2 -std=gnu++98' MAKEINFO=true \
    "$work/cegcc/src/gcc-4.4.0/configure" --target=$target --prefix="$prefix" \
        --enable-languages=c,c++ --disable-shared --disable-multilib --disable-libssp --disable-libgomp \
        --disable-libmudflap --disable-decimal-float --enable-threads=win32 --disable-nls \
        --disable-win32-registry --with-gnu-as --with-gnu-ld
}

gcc_make() {
    cd "$work/build-gcc"
    make -j$jobs MAKEINFO=true "$@"
}

# The CE runtime and the Win32 headers and import libraries, compiled by the new compiler. Their makefiles pick
# the CE variants by the target.
build_target_part() {
    local part=$1
    rm -rf "$work/build-$part" && mkdir "$work/build-$part" && cd "$work/build-$part"
    "$work/cegcc/src/$part/configure" --host=$target --target=$target --prefix="$prefix"
    make -j$jobs
    make install
}

make_toolchain() {
    if [ -e "$prefix/.complete" ]; then
        return
    fi
    find_cegcc_source
    work=$prefix.work
    logs=$work/logs
    # An interrupted build goes on from its last finished stage; otherwise start from an empty prefix.
    if [ ! -d "$logs" ]; then
        rm -rf "$prefix"
        mkdir -p "$logs"
    fi
    echo "making the $target toolchain in $prefix (logs in $logs)"
    PATH=$prefix/bin:$PATH
    toolchain_stage cegcc-sources unpack_cegcc
    toolchain_stage binutils-sources fetch_binutils
    toolchain_stage binutils build_binutils
    toolchain_stage gcc-configure configure_gcc
    toolchain_stage gcc gcc_make all-gcc
    toolchain_stage gcc-install gcc_make install-gcc
    toolchain_stage libgcc gcc_make all-target-libgcc
    toolchain_stage libgcc-install gcc_make install-target-libgcc
    toolchain_stage mingw-runtime build_target_part mingw
    toolchain_stage w32api build_target_part w32api
    toolchain_stage libstdc++ gcc_make all
    toolchain_stage gcc-install-all gcc_make install
    touch "$prefix/.complete"
    rm -rf "$work"
}

"$root/tools/setup-debian.sh"

# One build at a time per toolchain folder: other checkouts on this machine share it.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
make_toolchain
flock -u 9
if [ -n "$toolchain_only" ]; then
    echo "$prefix"
    exit 0
fi

# --- Kestrum -------------------------------------------------------------------------------------------------

logs=$build/logs
mkdir -p "$logs"
stage kestrum-configure cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/arm-mingw32ce.cmake" -DKESTRUM_CE_PREFIX="$prefix"
stage kestrum cmake --build "$build" -j $jobs
echo "$build/installset"
