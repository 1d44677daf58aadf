#!/bin/bash
# Installs what is missing, configures, builds and runs every test.
# Each test program runs in its own freshly cloned emulated handheld.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build" -j "$(nproc)"
cd "$top/build"
ctest --output-on-failure -j 2
