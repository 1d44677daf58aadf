#!/bin/bash
# Kestrum's demo in one command: installs what is missing (Debian 12), builds,
# creates and seeds a demo device, runs Kestrum with "S" (clean at once),
# saves screen shots of every page and the About box, and prints the Report's
# figures beside what the cleaning removed from the device, measured before
# and after.
#
#   tools/demo.sh [--no-setup] [--no-build] [OUTPUT-FOLDER]
#
# OUTPUT-FOLDER (default build/demo) receives the screen shots, the two
# device listings, Wine's +text trace of the run and summary.txt. The demo
# device is build/devices/demo; it is replaced on every run and removed at the
# end unless KESTRUM_KEEP_DEVICE=1. Exit status: 0 when every figure adds up.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
tool=$top/tools/device
build=${KESTRUM_BUILD_DIR:-$top/build}
export KESTRUM_BUILD_DIR=$build

setup=1 compile=1 out=
for arg in "$@"; do
    case "$arg" in
        --no-setup) setup=0 ;;
        --no-build) compile=0 ;;
        -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) out=$arg ;;
    esac
done
out=${out:-$build/demo}
dev=${KESTRUM_DEMO_DEVICE:-$build/devices/demo}

die() { echo "demo: $*" >&2; exit 1; }
say() { echo "demo: $*"; }

# --- where Kestrum's controls are on the 240 x 320 screen ----------------------
# The sheet's tabs run along the bottom of the main window, above the 26-pixel
# menu bar; the Tools button is the menu bar's first button and About the
# last item of its popup; the caption's close box stands for the handheld's
# "ok". Measured on the shell's layout; override when it moves.
TAB_Y=${KESTRUM_DEMO_TAB_Y:-280}
TAB_PROGRESS_X=${KESTRUM_DEMO_TAB_PROGRESS_X:-37}
TAB_OPTIONS_X=${KESTRUM_DEMO_TAB_OPTIONS_X:-94}
TAB_SETTINGS_X=${KESTRUM_DEMO_TAB_SETTINGS_X:-150}
TAB_REPORT_X=${KESTRUM_DEMO_TAB_REPORT_X:-206}
TOOLS_X=${KESTRUM_DEMO_TOOLS_X:-22} TOOLS_Y=${KESTRUM_DEMO_TOOLS_Y:-305}
ABOUT_X=${KESTRUM_DEMO_ABOUT_X:-40} ABOUT_Y=${KESTRUM_DEMO_ABOUT_Y:-281}
OK_X=${KESTRUM_DEMO_OK_X:-229} OK_Y=${KESTRUM_DEMO_OK_Y:-10}

screen() { read -r d _ <"$dev/display"; echo "$d"; }
desktop_window() { DISPLAY=$(screen) xdotool search --name "Handheld - Wine desktop" | head -n 1; }
click() { DISPLAY=$(screen) xdotool mousemove --window "$(desktop_window)" "$1" "$2" click 1; }

# Waits until the trace holds at least N lines with TEXT drawn (default 1).
# The limit only keeps a broken run from hanging the demo.
drawn() { grep -c -F -- "L\"$1" "$out/trace.txt" 2>/dev/null; }
wait_drawn() {
    local text=$1 n=${2:-1} i
    for ((i = 0; i < 600; i++)); do
        [ "$(drawn "$text")" -ge "$n" ] && return 0
        kill -0 "$run_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
shot() {
    sleep 0.5   # let the last painting reach the screen
    "$tool" shot "$dev" "$out/$1" && say "saved $out/$1" || say "could not save $1"
}
show_page() {   # show_page X HEADER-TEXT
    local before
    before=$(drawn "$2")
    click "$1" "$TAB_Y"
    wait_drawn "$2" $((before + 1)) || say "the page \"$2\" did not appear"
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
[ -f "$build/bin/demoapp.exe" ] || die "$build/bin/demoapp.exe is not built"

mkdir -p "$out"
rm -f "$out"/*.png "$out"/before.txt "$out"/after.txt "$out"/trace.txt "$out"/run.log "$out"/summary.txt
[ -f "$dev/.kestrum-device" ] && "$tool" destroy "$dev" >/dev/null
"$tool" create "$dev" || die "could not create the demo device"
run_pid=
finish() {
    # Never leave Kestrum or the demo programs running behind.
    if [ -n "$run_pid" ] && kill -0 "$run_pid" 2>/dev/null; then
        "$tool" stop "$dev"
    fi
    [ "${KESTRUM_KEEP_DEVICE:-0}" = 1 ] && return
    [ -f "$dev/.kestrum-device" ] && "$tool" destroy "$dev" >/dev/null
}
trap finish EXIT
"$tool" seed "$dev" || die "could not seed the demo device"
"$tool" measure "$dev" >"$out/before.txt" || die "could not measure the device"

# --- the run ----------------------------------------------------------------------
say "running Kestrum S on the device"
WINEDEBUG=+text "$tool" run "$dev" S >"$out/run.log" 2>"$out/trace.txt" &
run_pid=$!

wait_drawn "Cleaning Progress" && shot progress-during.png
wait_drawn "Completed Tasks" || die "the cleaning run did not finish (see $out/trace.txt)"
wait_drawn "Tasks performed:" || die "the Report was not drawn"
shot report.png
sleep 2   # the closed demo programs end on their own time
"$tool" measure "$dev" >"$out/after.txt" || die "could not measure the device"

# The Progress page still shows the finished run until another page is visited.
show_page "$TAB_PROGRESS_X" "Completed Tasks" && shot progress-after.png
show_page "$TAB_OPTIONS_X" "Select Cleaning Options" && shot options.png
show_page "$TAB_SETTINGS_X" "Program Settings" && shot settings.png
show_page "$TAB_REPORT_X" "Report"

# Tools > About: the last item of the popup that opens above the button.
before=$(drawn "Kestrum")
click "$TOOLS_X" "$TOOLS_Y"
sleep 0.5
click "$ABOUT_X" "$ABOUT_Y"
wait_drawn "Kestrum" $((before + 1)) && shot about.png
# The full-screen About box ends on its caption's done box, where "ok" is.
click "$OK_X" "$OK_Y"
sleep 0.5

# "ok" saves the settings and ends Kestrum; stop the device if it does not.
click "$OK_X" "$OK_Y"
for ((i = 0; i < 100; i++)); do
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$run_pid" 2>/dev/null; then
    say "Kestrum did not close on ok; stopping the device"
    "$tool" stop "$dev"
fi
wait "$run_pid"
say "Kestrum ended with status $?"

# --- the figures --------------------------------------------------------------------
echo
python3 "$top/tools/demo_summary.py" "$out/before.txt" "$out/after.txt" "$out/trace.txt" | tee "$out/summary.txt"
status=${PIPESTATUS[0]}
echo
say "screen shots and listings are in $out"
exit "$status"
