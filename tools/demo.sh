#!/bin/bash
# Kestrum's demo in one command: installs what is missing (Debian 12), builds,
# creates a demo device, installs Kestrum on it as a user would (deskinstall
# on an emulated desktop, its application manager, the device's installer:
# tools/device desktop-install), seeds it, runs Kestrum with "S" (clean at
# once), saves an animation of the run and screen shots of every page and the About
# box, and prints the Report's figures beside what the cleaning removed from
# the device, measured before and after.
#
#   tools/demo.sh [--no-setup] [--no-build] [--view] [OUTPUT-FOLDER]
#
# OUTPUT-FOLDER (default build/demo) receives cleaning-run.gif, the screen
# shots, the two device listings, Wine's +text trace of the run and
# summary.txt; with the default folder the Report's shot also becomes the
# README's picture (docs/handheld-report.png). The demo device is
# build/devices/demo; it is replaced on every run and removed at the end
# (stopped, its store unmounted, when KESTRUM_KEEP_DEVICE=1). With --view
# the device keeps running after the cleaning, Kestrum on its Report, and the
# demo ends by printing the address of a web page that shows its screen live
# (tools/device view), so every page of the finished run can be looked at;
# tools/device stop build/devices/demo ends it. Exit status: 0 when every
# figure adds up.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
tool=$top/tools/device
. "$top/tools/devicelib.sh"
build=${KESTRUM_BUILD_DIR:-$top/build}
export KESTRUM_BUILD_DIR=$build

setup=1 compile=1 view=0 out=
for arg in "$@"; do
    case "$arg" in
        --no-setup) setup=0 ;;
        --no-build) compile=0 ;;
        --view) view=1 ;;
        -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) out=$arg ;;
    esac
done
out=${out:-$build/demo}
dev=${KESTRUM_DEMO_DEVICE:-$build/devices/demo}

die() { echo "demo: $*" >&2; exit 1; }
say() { echo "demo: $*"; }

# --- the device's screen ---------------------------------------------------------
# Every tap is a real click where the control is now: screenpos.exe, run on
# the device, reads the control's place from its window. Every wait is for a
# condition (a window there or gone, a traced text drawn, the screen still),
# with a bound of 60 s that only stops a run that hangs.
BOUND=600   # tenths of a second

screen() { read -r d _ <"$dev/display"; echo "$d"; }
desktop_window() { device_desktop_window "$(screen)"; }
where() { "$tool" exec "$dev" 'D:\Windows\screenpos.exe' "$@" 2>/dev/null | tr -d '\r'; }
tap() {   # tap WHAT [ARGS...]: click the middle of it, once it is on the screen
    local at i
    for ((i = 0; i < BOUND; i += 5)); do
        at=$(where "$@") && [ -n "$at" ] && break
        sleep 0.5   # polling the screen for the control
    done
    [ -n "$at" ] || { say "no $* on the screen"; return 1; }
    # shellcheck disable=SC2086
    DISPLAY=$(screen) xdotool mousemove --window "$(desktop_window)" $at click 1
}
front() {   # front TITLE: waits until the bar shows that window in front
    local i
    for ((i = 0; i < BOUND; i += 5)); do
        [ -n "$(where front "$1")" ] && return 0
        sleep 0.5   # polling the bar
    done
    say "the bar never showed \"$1\" in front"
    return 1
}
gone() {   # gone TITLE: waits until no window of that title is shown
    local i
    for ((i = 0; i < BOUND; i += 5)); do
        [ -z "$(where window "$1")" ] && return 0
        sleep 0.5   # polling for the window to go
    done
    return 1
}

# Waits until the trace holds at least N lines with TEXT drawn (default 1).
drawn() { grep -c -F -- "L\"$1" "$out/trace.txt" 2>/dev/null; }
wait_drawn() {
    local text=$1 n=${2:-1} i
    for ((i = 0; i < BOUND; i++)); do
        [ "$(drawn "$text")" -ge "$n" ] && return 0
        kill -0 "$run_pid" 2>/dev/null || return 1
        sleep 0.1   # polling the trace
    done
    return 1
}

# Saves the screen once it holds still: two pictures in a row that are the
# same, so the last painting has reached it.
shot() {
    local file=$out/$1 win prev i
    win=$(desktop_window)
    prev=$(mktemp --suffix=.png)
    DISPLAY=$(screen) import -window "$win" "$prev" 2>/dev/null
    for ((i = 0; i < 50; i++)); do
        DISPLAY=$(screen) import -window "$win" "$file" 2>/dev/null || break
        compare -metric AE "$prev" "$file" null: 2>/dev/null && break
        cp "$file" "$prev"
    done
    rm -f "$prev"
    [ -s "$file" ] && say "saved $file" || say "could not save $1"
}
show_page() {   # show_page TAB-INDEX HEADER-TEXT
    local before
    before=$(drawn "$2")
    tap tab "$1"
    wait_drawn "$2" $((before + 1)) || say "the page \"$2\" did not appear"
}

# The animation: frames of the screen taken one after the other from the
# first heading of the run until "Completed Tasks" is drawn, while the task
# lines turn red and black and the bar moves.
record_run() {
    local win n=0
    win=$(desktop_window)
    mkdir -p "$out/frames"
    while [ "$(drawn "Completed Tasks")" -lt 1 ] && [ $n -lt 2000 ] && kill -0 "$run_pid" 2>/dev/null; do
        DISPLAY=$(screen) import -window "$win" "$(printf '%s/frames/%04d.png' "$out" $n)" 2>/dev/null || break
        n=$((n + 1))
    done
    DISPLAY=$(screen) import -window "$win" "$(printf '%s/frames/%04d.png' "$out" $n)" 2>/dev/null
    say "took $((n + 1)) frames of the run"
}
animate() {
    local frames=("$out"/frames/*.png)
    [ -f "${frames[0]}" ] || return 1
    # Fast frames while it runs, the last one held for three seconds.
    convert -delay 10 "${frames[@]:0:${#frames[@]}-1}" -delay 300 "${frames[-1]}" \
        -layers Optimize -loop 0 "$out/cleaning-run.gif" && say "saved $out/cleaning-run.gif"
    rm -rf "$out/frames"
}

# --- set up, build, make the device ---------------------------------------------
if [ $setup = 1 ]; then
    "$top/tools/setup-debian.sh" || die "installing the build tools failed"
fi
if [ $compile = 1 ]; then
    cmake -S "$top" -B "$build" >/dev/null || die "cmake failed"
    cmake --build "$build" -j "$(nproc)" || die "the build failed"
fi
[ -f "$build/bin/Kestrum.exe" ] || die "$build/bin/Kestrum.exe is not built"
[ -f "$build/installset/deskinstall.exe" ] || die "$build/installset (the emulated install set) is not built"
[ -f "$build/bin/demoapp.exe" ] || die "$build/bin/demoapp.exe is not built"
[ -f "$build/bin/navbar.exe" ] && [ -f "$build/bin/screenpos.exe" ] || die "$build/bin/navbar.exe and screenpos.exe are not built"

mkdir -p "$out"
rm -rf "$out"/*.png "$out"/*.gif "$out"/frames "$out"/before.txt "$out"/after.txt "$out"/trace.txt "$out"/run.log "$out"/summary.txt
device_is_folder "$dev" && "$tool" destroy "$dev" >/dev/null
"$tool" create "$dev" --no-kestrum || die "could not create the demo device"
run_pid=
viewing=0
finish() {
    # Never leave Kestrum, the demo programs or the device's store mount behind:
    # a kept device is stopped (its store stays in its image), any other removed;
    # a device on view stays as it is.
    [ $viewing = 1 ] && return
    if [ "${KESTRUM_KEEP_DEVICE:-0}" = 1 ]; then
        device_is_folder "$dev" && "$tool" stop "$dev"
        return
    fi
    device_is_folder "$dev" && "$tool" destroy "$dev" >/dev/null
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
# Kestrum goes on as a user installs it: deskinstall from the install set on
# the desktop, the application manager, the connection, the device's installer.
say "installing Kestrum through deskinstall on the emulated desktop"
rm -f "$out/install.txt"
"$tool" desktop-install "$dev" "$build/installset" | tee "$out/install.txt"
[ "${PIPESTATUS[0]}" = 0 ] || die "Kestrum did not install through deskinstall"
"$tool" seed "$dev" || die "could not seed the demo device"
"$tool" measure "$dev" >"$out/before.txt" || die "could not measure the device"

# --- the run ----------------------------------------------------------------------
say "running Kestrum S on the device"
# On view, Kestrum runs in a session of its own, so that it outlives the demo's terminal.
launch=()
[ $view = 1 ] && launch=(setsid)
WINEDEBUG=+text "${launch[@]}" "$tool" run "$dev" S >"$out/run.log" 2>"$out/trace.txt" &
run_pid=$!

wait_drawn "Cleaning Progress" || die "the cleaning run did not start (see $out/trace.txt)"
record_run
animate || say "could not make the animation"
wait_drawn "Completed Tasks" || die "the cleaning run did not finish (see $out/trace.txt)"
wait_drawn "Tasks performed:" || die "the Report was not drawn"
front "Kestrum"
shot report.png
# The closed demo programs end in their own time; each takes its file in
# \Demo\Running with it. Wait until as many have gone as the Report says
# were closed (ActiveSync is kept).
closed=$(grep -o 'L"Applications closed:[^"]*"' "$out/trace.txt" | head -n 1 | grep -o '[0-9]*"$' | tr -d '"')
started=$(grep -c '^running' "$out/before.txt")
for ((i = 0; i < BOUND; i++)); do
    [ "$(ls "$dev/store/Demo/Running" 2>/dev/null | wc -l)" -le $((started - ${closed:-0})) ] && break
    sleep 0.1   # polling for the demo programs to end
done
"$tool" measure "$dev" >"$out/after.txt" || die "could not measure the device"

# The Progress page still shows the finished run until another page is visited.
show_page 0 "Completed Tasks" && shot progress-after.png
show_page 1 "Select Cleaning Options" && shot options.png
show_page 2 "Program Settings" && shot settings.png
show_page 3 "Report"

# Tools > About: the last item of the popup that opens above the button.
before=$(drawn "Kestrum")
tap toolbar 0 && tap menu-last
wait_drawn "Kestrum" $((before + 1)) && front "About" && shot about.png
# The About box ends on the navigation bar's "ok", its done button.
tap ok && gone "About" && front "Kestrum" || say "the About box did not close on ok"

# "ok" saves the settings and ends Kestrum; stop the device if it does not.
# On view Kestrum stays, on its Report.
if [ $view = 0 ]; then
    tap ok
    for ((i = 0; i < BOUND; i++)); do
        kill -0 "$run_pid" 2>/dev/null || break
        sleep 0.1   # polling for Kestrum to end
    done
    if kill -0 "$run_pid" 2>/dev/null; then
        say "Kestrum did not close on ok; stopping the device"
        "$tool" stop "$dev"
    fi
    wait "$run_pid"
    say "Kestrum ended with status $?"
fi

# The README's picture of the handheld is the demo's Report.
if [ "$out" = "$build/demo" ] && [ -f "$out/report.png" ]; then
    mkdir -p "$top/docs"
    cp "$out/report.png" "$top/docs/handheld-report.png"
fi

# --- the figures --------------------------------------------------------------------
echo
{
    echo "Installed through deskinstall:"
    sed -n 's/^device: installed /  /p; s/^device:   /    /p' "$out/install.txt"
    echo
    python3 "$top/tools/demo_summary.py" "$out/before.txt" "$out/after.txt" "$out/trace.txt"
} | tee "$out/summary.txt"
status=${PIPESTATUS[0]}
echo
say "screen shots and listings are in $out"
if [ $view = 1 ]; then
    echo
    say "Kestrum keeps running on $dev, on its Report; look at every page in a browser:"
    "$tool" view "$dev" || die "could not serve the device's screen to a browser"
    viewing=1
fi
exit "$status"
