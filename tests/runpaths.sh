#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every program the build makes loads its libraries from the system's folders only: no
# RUNPATH or RPATH entry is empty (an empty entry is the folder the program is started
# from) and none is relative.
# Usage: runpaths.sh <program folder>
set -uo pipefail
folder=${1:?usage: runpaths.sh <program folder>}
checked=0
failed=0
for program in "$folder"/*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    head -c 4 "$program" | grep -q $'^\x7fELF' || continue
    checked=$((checked + 1))
    paths=$(readelf -d "$program" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]$/\2/p')
    [ -n "$paths" ] || continue
    IFS=: read -r -a entries <<<"$paths:"
    for entry in "${entries[@]}"; do
        case $entry in
            /*) ;;
            *)
                echo "FAIL: $(basename "$program"): run path [$paths] has an empty or relative entry"
                failed=1
                break
                ;;
        esac
    done
done
echo "checked $checked programs"
[ "$checked" -gt 0 ] && [ "$failed" -eq 0 ]
