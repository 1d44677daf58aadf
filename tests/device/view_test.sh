#!/bin/bash
# The device's screen in a web browser, end to end: what `tools/device view`
# refuses without changing anything, the page in Debian's headless Chromium
# (view_browser.js: no screen without the secret, the device's picture with
# it, a click that taps), what the servers listen on, and stop. Skipped (77)
# until Kestrum.exe is built.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
tool=$top/tools/device
build=${KESTRUM_BUILD_DIR:-$top/build}
[ -f "$build/bin/Kestrum.exe" ] || { echo "Kestrum.exe is not built: skipped"; exit 77; }
. "$top/tests/support/checks.sh"
# Before anything starts: the browser's driver (package.json).
(cd "$top" && node -e 'require.resolve("puppeteer-core")' 2>/dev/null) ||
    { echo "FAILED: the node package puppeteer-core is missing: run npm ci in $top"; exit 1; }
mkdir -p "$build/devices"
work=$(mktemp -d "$build/devices/viewtest.XXXXXX")
chmod 755 "$work"   # read by the refusal run as another user
dev=$work/pda
listener=

cleanup() {
    [ -n "$listener" ] && kill "$listener" 2>/dev/null
    [ -d "$dev/prefix" ] && "$tool" destroy "$dev" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

untouched() { [ ! -e "$dev/view" ] && [ ! -e "$dev/display" ]; }
server_pid() { sed -n "s/^$1 //p" "$dev/view/pids"; }
drawn() { grep -qF -- "L\"$1" "$work/trace.txt"; }

# --- refusals: each leaves the device as it was ------------------------------------
check "view refuses a device that does not exist" refuses "no device at" "$tool" view "$work/none"
check "... and makes nothing" test ! -e "$work/none"
"$tool" create "$dev" >/dev/null || { echo "FAILED: could not create a device"; exit 1; }
# Something of ours listens on a port, which it tells us.
coproc LISTEN { exec python3 -c 'import socket, sys
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen()
print(s.getsockname()[1], flush=True); sys.stdin.read()'; }
listener=$LISTEN_PID
read -r busy <&"${LISTEN[0]}"
check "view refuses a port in use" refuses "port $busy is in use" "$tool" view "$dev" --port "$busy"
check "view refuses a port that is no port" refuses "port number" "$tool" view "$dev" --port 70000
# A PATH without x11vnc and websockify, as a user who may not install them:
# its id answers an ordinary user's number. (Really dropping root would need
# the checkout and the device readable by that user, which a checkout under
# /root is not.)
mkdir -p "$work/bin"
for t in bash realpath readlink dirname cat tr sed grep head ls; do ln -s "$(command -v $t)" "$work/bin/$t"; done
ln -s /usr/bin/python3 "$work/bin/python3"
printf '#!/bin/sh\necho 65534\n' >"$work/bin/id" && chmod +x "$work/bin/id"
check "view without its packages and without root says what to install" \
    refuses "needs x11vnc websockify, and installing it needs root" \
    env PATH="$work/bin" "$tool" view "$dev"
check "... and none of them changed the device" untouched

# --- the page ---------------------------------------------------------------------
# The view starts the screen; Kestrum then joins it.
url=$("$tool" view "$dev" | tail -n 1)
check "view prints the page's URL with a secret last" grep -qE '^http://127\.0\.0\.1:[0-9]+/\?token=[0-9a-f]{32}$' <<<"$url"
WINEDEBUG=+text "$tool" run "$dev" >/dev/null 2>"$work/trace.txt" &
check "Kestrum shows its Progress page" wait_for drawn "Selected Options"
check "the page in a browser" node "$top/tests/device/view_browser.js" "$tool" "$dev" "$url" "$WAIT_BOUND_MS" "$work/trace.txt"
check "... and the click there showed the Options page on the device" wait_for drawn "Select Cleaning Options"

# Only the loopback address, for both servers and nothing else of theirs.
vnc=$(server_pid x11vnc) web=$(server_pid websockify)
listening=$(ss -Hltnp | grep -E "pid=($vnc|$web),")
echo "$listening"
port=${url#http://127.0.0.1:}; port=${port%%/*}
check "the web server listens on the URL's port" grep -q "127.0.0.1:$port .*pid=$web," <<<"$listening"
check "the VNC server listens" grep -q "pid=$vnc," <<<"$listening"
check "nothing of theirs listens beyond 127.0.0.1" test -z "$(awk '$4 !~ /^127\.0\.0\.1:/' <<<"$listening")"

again=$("$tool" view "$dev" | tail -n 1)
check "a second view has a fresh secret on the same port" \
    test "${again%%\?*}" = "${url%%\?*}" -a "$again" != "$url"

# --- stop ---------------------------------------------------------------------------
vnc=$(server_pid x11vnc) web=$(server_pid websockify)
check "stop succeeds" "$tool" stop "$dev"
check "stop ended both servers" bash -c "! [ -e /proc/$vnc ] && ! [ -e /proc/$web ]"
check "... and removed the secret" test ! -e "$dev/view"
checks_done
