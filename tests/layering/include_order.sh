#!/bin/bash
# Fails when a handheld file includes a header of a higher layer, or when a
# folder holding code is missing from the layer list.
#   include_order.sh SOURCE_DIR
set -u
root=$1/handheld
layers=$(dirname "$0")/layers.txt
declare -A rank
n=0
while read -r folder; do
    case $folder in ''|'#'*) continue ;; esac
    rank[$folder]=$n
    n=$((n + 1))
done < "$layers"

bad=0
while IFS= read -r file; do
    own=$(dirname "${file#"$root"/}")
    if [ -z "${rank[$own]+set}" ]; then
        echo "$own: folder not in $layers"; bad=1; continue
    fi
    while IFS= read -r header; do
        case $header in */*) target=$(dirname "$header") ;; *) target=$own ;; esac
        if [ -z "${rank[$target]+set}" ]; then
            echo "${file#"$root"/}: includes $header from an unknown folder"; bad=1
        elif [ "${rank[$target]}" -gt "${rank[$own]}" ]; then
            echo "${file#"$root"/}: $own includes $header from the higher layer $target"; bad=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$root" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) | sort)

[ $bad = 0 ] && echo "every handheld include runs downwards through $n layers"
exit $bad
