#!/bin/bash
# Screenshot check of Kestrum on the emulated handheld's 240x320 screen.
#
#   screenshot.sh BUILD_DIR OUTPUT.png
#
# Installs Kestrum.exe in a fresh device as \Program Files\Kestrum\Kestrum.exe,
# starts it through helper_launch.exe (which returns once Kestrum waits for
# input, its window painted), photographs the virtual desktop, and checks the
# picture: the screen size, the dark navigation bar with the title at the
# top (navbar.exe runs, as on every device whose screen is up), the page's
# bold heading, the tab row just above the bottom, and the light menu bar at
# the bottom.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/devicelib.sh"

build_dir=$(cd "$1" && pwd)
out=$2
mkdir -p "$(dirname "$out")"
tpl="$build_dir/devices/template"
device_ensure_template "$tpl"
mkdir -p "$build_dir/devices"
dev=$(mktemp -d "$build_dir/devices/shot.XXXXXX")
cleanup() {
    ( device_env "$dev"; wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1 )
    device_stop_display
    device_unmount_store "$dev"
    [ "${KESTRUM_KEEP_DEVICE:-0}" = 1 ] || rm -rf "$dev"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

device_clone "$tpl" "$dev"
mkdir -p "$dev/store/Program Files/Kestrum" "$dev/store/Tests"
cp "$build_dir/bin/Kestrum.exe" "$dev/store/Program Files/Kestrum/Kestrum.exe"
cp "$build_dir/bin/helper_launch.exe" "$dev/store/Tests/"
device_install_shell "$build_dir/bin" "$dev/store"
device_check_sandbox "$dev"
device_start_display
device_env "$dev"
cd "$dev/store" || exit 1

# Kestrum starts once the session's desktop has its 240 x 320 size, or the
# two race to make it and Kestrum may lay its menu bar out on the X screen's size.
device_start_navbar
desktop=$(device_desktop_window "$DISPLAY")
[ -n "$desktop" ] || { echo "no virtual desktop window"; exit 1; }
wine 'D:\Tests\helper_launch.exe' || { echo "Kestrum did not start"; exit 1; }

check() { echo "$1"; fail=1; }
look() {
fail=0
size=$(identify -format '%wx%h' "$out")
[ "$size" = 240x320 ] || check "screen is $size, not 240x320"
# Average brightness (0..100) of a band of rows.
band() { convert "$out" -crop "240x$2+0+$1" +repage -colorspace Gray -format '%[fx:round(100*mean)]' info:; }
caption=$(band 2 14)
[ "$caption" -lt 60 ] || check "no dark navigation bar at the top (brightness $caption)"
bar=$(band 296 24)
[ "$bar" -gt 60 ] || check "no light menu bar at the bottom (brightness $bar)"
# Mean width (1/100 px) of the dark horizontal runs of pixels in a box WxH+X+Y:
# the stroke width of the letters drawn there.
stroke() { convert "$out" -crop "$1" +repage -colorspace Gray -threshold 50% -compress none pbm:- | python3 -c '
import sys
t = sys.stdin.read().split()
w, h, bits = int(t[1]), int(t[2]), "".join(t[3:])
runs = [r for y in range(h) for r in bits[y * w:(y + 1) * w].split("0") if r]
print(100 * sum(map(len, runs)) // max(1, len(runs)))'; }
# Text makes a band uneven: the title in the caption, the labels on the tabs and the bar.
spread() { convert "$out" -crop "$3x$2+$4+$1" +repage -colorspace Gray -format '%[fx:round(1000*standard_deviation)]' info:; }
[ "$(spread 4 12 120 20)" -gt 30 ] || check "no title text in the navigation bar"
# Below the bar Kestrum's page begins at once, light: no desktop caption.
[ "$(band 27 12)" -gt 75 ] || check "a caption below the navigation bar (brightness $(band 27 12))"
[ "$(spread 298 20 60 0)" -gt 30 ] || check "no label on the menu bar"
[ "$(spread 274 18 240 0)" -gt 30 ] || check "no tab labels above the menu bar"
# The page heading is bold: its letters' strokes are wider than the task lines'.
heading=$(stroke 200x22+25+30) lines=$(stroke 200x160+28+62)
[ "$heading" -ge $((lines * 13 / 10)) ] ||
    check "the heading's strokes are not bold (mean width $heading/100 px, task lines $lines/100 px)"
return $fail
}
# The X server shows Kestrum's pixels once Wine has flushed them: take the
# picture until it shows what it must. The bound only stops a hung run.
deadline=$((SECONDS + 120))
while :; do
    import -window "$desktop" "$out" || exit 1
    look >/tmp/screenshot-why.$$ && break
    [ $SECONDS -lt $deadline ] || break
    sleep 0.2 # paces the retries only; the loop ends on what the picture shows
done
cat /tmp/screenshot-why.$$; rm -f /tmp/screenshot-why.$$
[ $fail = 0 ] && echo "screenshot looks right: $out"
exit $fail
