# The device's screen as a web page: `tools/device view` starts it, `stop`
# ends it. Sourced by tools/device after devicelib.sh (it uses the tool's $top).
#
# x11vnc serves the device's desktop window, and only that window, as VNC on
# a free loopback port; websockify serves the page (tools/view/index.html
# with Debian's noVNC client) and carries its websocket to that VNC port.
# Both listen on 127.0.0.1 only; people on other machines use an ssh port
# forward. websockify lets a websocket through only with the secret token of
# the latest `view` (its token file maps the token to the VNC port), so a
# page opened without the URL's secret, or a web site in the same browser
# that guesses the port, gets no screen.
#
#   DEV/view/            mode 0700, made anew by every view
#   DEV/view/token       the secret and the VNC port it leads to
#   DEV/view/pids        "NAME PID" of the two servers, for stop
#   DEV/view/port        the web port
#   DEV/view/web/        what the web server serves: the page and noVNC

VIEW_PACKAGES_DIR=/usr/share/novnc
VIEW_PORT_FIRST=6080   # the default: the first free of 6080-6099
VIEW_PORT_LAST=6099

# The Debian packages of the web view that are missing, space-separated.
view_missing_packages() {
    local missing=
    command -v x11vnc >/dev/null 2>&1 || missing="$missing x11vnc"
    command -v websockify >/dev/null 2>&1 || missing="$missing websockify"
    [ -f "$VIEW_PACKAGES_DIR/core/rfb.js" ] || missing="$missing novnc"
    echo "${missing# }"
}

# Installs what the web view lacks, as root; without root says what to install.
view_need_packages() {
    local missing
    missing=$(view_missing_packages)
    [ -z "$missing" ] && return 0
    [ "$(id -u)" = 0 ] || device_die "the web view needs $missing, and installing it needs root (Debian: sudo apt-get install $missing)"
    echo "device: installing $missing for the web view"
    # shellcheck disable=SC2086
    {
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing ||
            { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing; }
    } >/dev/null 2>&1
    [ -z "$(view_missing_packages)" ] || device_die "could not install $missing (apt-get install $missing)"
}

# True when something may listen on 127.0.0.1:PORT: nothing listens there or
# on every address.
view_port_free() {
    python3 -c 'import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))' "$1" 2>/dev/null
}

view_alive() {   # view_alive NAME PID: PID is still that server
    [ -r "/proc/$2/comm" ] && [ "$(cat "/proc/$2/comm" 2>/dev/null)" = "$1" ]
}

# The web port of DEV's view while its web server runs; nothing otherwise.
view_running_port() {
    local dev=$1 name pid
    [ -f "$dev/view/pids" ] && [ -f "$dev/view/port" ] || return 0
    while read -r name pid; do
        [ "$name" = websockify ] && view_alive "$name" "$pid" && cat "$dev/view/port"
    done <"$dev/view/pids"
    return 0
}

# Picks the web port into VIEW_PORT: the one asked for (a port of this
# device's running view may be taken again), else the running view's, else
# the first free one from 6080. Ends the tool when the port is taken.
view_choose_port() {
    local asked=$1 running=$2 p
    if [ -n "$asked" ]; then
        [[ "$asked" =~ ^[0-9]{1,5}$ ]] && [ "$asked" -ge 1 ] && [ "$asked" -le 65535 ] ||
            device_die "--port needs a port number from 1 to 65535, not $asked"
        [ "$asked" = "$running" ] || view_port_free "$asked" ||
            device_die "port $asked is in use on 127.0.0.1; choose another with --port"
        VIEW_PORT=$asked
        return 0
    fi
    [ -n "$running" ] && { VIEW_PORT=$running; return 0; }
    for ((p = VIEW_PORT_FIRST; p <= VIEW_PORT_LAST; p++)); do
        view_port_free "$p" && { VIEW_PORT=$p; return 0; }
    done
    device_die "ports $VIEW_PORT_FIRST-$VIEW_PORT_LAST are all in use on 127.0.0.1; choose one with --port"
}

# Ends DEV's web view, if any: its two servers (only processes that still
# are those servers) and its folder, with the secret in it.
view_down() {
    local dev=$1 name pid i
    [ -d "$dev/view" ] || return 0
    if [ -f "$dev/view/pids" ]; then
        while read -r name pid; do
            view_alive "$name" "$pid" || continue
            kill "$pid" 2>/dev/null
            # Bounded: only stops a server that ignores the signal.
            for ((i = 0; i < 100; i++)); do
                view_alive "$name" "$pid" || break
                sleep 0.1
            done
        done <"$dev/view/pids"
    fi
    rm -rf -- "$dev/view"
}

# True while PID, started as `setsid NAME ...` in the background, is NAME or
# is still on its way to becoming it: until its exec the process bears the
# shell's or setsid's name, and on a loaded host the first check can come
# that early. One read of the name: two reads could straddle the exec and
# see neither the shell before it nor the server after it.
view_up_or_starting() {
    case $(cat "/proc/$2/comm" 2>/dev/null) in
        "$1"|bash|setsid) return 0 ;;
        *) return 1 ;;
    esac
}

# Waits until COMMAND succeeds while the server NAME PID lives; 120 s at most
# (a bound that only stops a server that hangs; beside a busy core and
# parallel devices, 60 s has not been enough for x11vnc to listen).
view_wait() {
    local name=$1 pid=$2 deadline=$((SECONDS + 120)); shift 2
    while [ $SECONDS -lt $deadline ]; do
        "$@" && return 0
        view_up_or_starting "$name" "$pid" || return 1
        sleep 0.1   # polling for the server to be ready
    done
    return 1
}

view_page_answers() {
    python3 -c 'import sys, urllib.request
sys.exit(urllib.request.urlopen(sys.argv[1], timeout=5).status != 200)' "$1" 2>/dev/null
}

# Ends the view that did not come up and the tool, with the server's last word.
view_fail() {
    local last
    last=$(grep -v '^\s*$' "$3" 2>/dev/null | tail -n 1)
    view_down "$1"
    device_die "$2${last:+ ($last)}"
}

# Starts x11vnc on window ID of the current DISPLAY and websockify on the
# web port, for DEV; prints the page's URL with a fresh secret.
view_up() {
    local dev=$1 id=$2 port=$3 dir=$1/view vnc pid token url
    mkdir -m 700 "$dir" && mkdir "$dir/web" || device_die "could not make $dir"
    cp "$top/tools/view/index.html" "$dir/web/index.html"
    ln -s "$VIEW_PACKAGES_DIR/core" "$dir/web/core"
    ln -s "$VIEW_PACKAGES_DIR/vendor" "$dir/web/vendor"

    # x11vnc takes the first free port from 5900 on the loopback address and
    # writes it to the flag file once it listens. -noipv6 alone still lets it
    # probe a hundred IPv6 ports by the name "localhost", each a DNS query
    # where the hosts file has no IPv6 localhost: 5 s here, and past any
    # bound where the resolver is slow or out of reach. -rfbportv6 -1 ends
    # that probe, -nolookup the client lookups: the view asks no resolver.
    setsid x11vnc -display "$DISPLAY" -id "$id" -localhost -noipv6 -rfbportv6 -1 -nolookup \
        -forever -shared -nopw -quiet \
        -flag "$dir/vnc-port" -o "$dir/x11vnc.log" </dev/null >/dev/null 2>&1 &
    pid=$!
    echo "x11vnc $pid" >>"$dir/pids"
    view_wait x11vnc "$pid" grep -q '^PORT=[0-9]' "$dir/vnc-port" 2>/dev/null ||
        view_fail "$dev" "x11vnc did not start on the device's screen" "$dir/x11vnc.log"
    vnc=$(sed -n 's/^PORT=\([0-9]*\).*/\1/p' "$dir/vnc-port" | head -n 1)

    token=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    printf '%s: 127.0.0.1:%s\n' "$token" "$vnc" >"$dir/token"
    setsid websockify --web "$dir/web" --token-plugin TokenFile --token-source "$dir/token" "127.0.0.1:$port" \
        </dev/null >"$dir/websockify.log" 2>&1 &
    pid=$!
    echo "websockify $pid" >>"$dir/pids"
    echo "$port" >"$dir/port"
    url="http://127.0.0.1:$port/?token=$token"
    view_wait websockify "$pid" view_page_answers "$url" ||
        view_fail "$dev" "the web server did not start on 127.0.0.1:$port" "$dir/websockify.log"
    echo "device: the screen of $dev is on the web, on 127.0.0.1:$port only (from another machine: ssh -L $port:127.0.0.1:$port THIS-HOST, then the same URL there)"
    echo "device: tools/device stop $dev ends it; every view makes a new secret"
    echo "$url"
}
