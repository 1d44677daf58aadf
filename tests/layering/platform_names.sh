#!/bin/bash
# Fails when a function the platform declares does not carry the Platform
# prefix: a platform call must show at its call site, and no platform
# function may take the name of a function of the handheld's own SDK.
#   platform_names.sh SOURCE_DIR
set -u
bad=0
count=0
for header in "$1"/handheld/platform/*.h; do
    # A declaration: a return type, then the name and its opening parenthesis.
    names=$(grep -v '^typedef' "$header" | sed -n 's/^[A-Za-z_][A-Za-z0-9_ ]*[ *]\([A-Za-z_][A-Za-z0-9_]*\)(.*/\1/p' \
            | grep -v '^static_assert$')
    for name in $names; do
        count=$((count + 1))
        case $name in
        Platform[A-Z]*) ;;
        *) echo "$(basename "$header"): $name lacks the Platform prefix"; bad=1 ;;
        esac
    done
done
[ $count -gt 0 ] || { echo "no platform function found: the check reads nothing"; exit 1; }
[ $bad = 0 ] && echo "all $count platform functions carry the Platform prefix"
exit $bad
