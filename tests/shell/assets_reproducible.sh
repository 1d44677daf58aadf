#!/bin/sh
# The committed icons, bitmaps and sound are exactly what gen_assets.py makes.
#   assets_reproducible.sh RESOURCES_FOLDER
set -u
res=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$res/gen_assets.py" "$tmp" || exit 1
status=0
for f in kestrum.ico done.ico pending.ico strip112.bmp strip113.bmp strip116.bmp strip117.bmp chime.wav; do
    cmp "$res/$f" "$tmp/$f" || { echo "$f differs from what gen_assets.py makes"; status=1; }
done
exit $status
