#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer under Wine: a silent install for the user alone into a folder of its
# own, what it put there (the programs, the data set marked hidden and system, the mark of an
# installed folder, the Start-menu entry), the installed terminal lookup answering "hello",
# then a silent uninstall that removes all of it and leaves the user's colours.
# Usage: installer_test.sh <setup.exe>   (WINEPREFIX set by the caller)
set -uo pipefail
setup=${1:?usage: installer_test.sh <setup.exe>}
wine=/usr/lib/wine/wine64
failures=0
check()
{
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

drive=$WINEPREFIX/drive_c
name=vellumstack-installer-test-$$
folder=$drive/$name
appdata=$drive/users/$(id -un)/AppData/Roaming
[ -d "$appdata" ] || appdata=$(find "$drive/users" -maxdepth 3 -type d -path '*/AppData/Roaming' | head -n 1)
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Vellumstack.lnk"
settings=$appdata/Vellumstack/Setting.Dll
rm -rf "$folder"

"$wine" "$setup" /S /CurrentUser "/D=C:\\$name" >/dev/null 2>&1
check "the silent install for this user ends with 0" [ $? -eq 0 ]
for file in vellumstack.exe vellumstack-lookup.exe vellumstack-make-dataset.exe Qt6Core.dll \
    Qt6Widgets.dll platforms/qwindows.dll source/alf.dll source/first.dll source1/a.hhh \
    COPYING.txt .installed uninstall.exe; do
    check "it installed $file" [ -s "$folder/$file" ]
done
check "it installed no test program" [ -z "$(find "$folder" -name 'tst_*')" ]
check "the Start menu has the entry" [ -s "$shortcut" ]
attributes=$(cd "$folder" && "$wine" cmd /c attrib source 2>/dev/null | tr -d '\r')
check "the data folder is hidden and system ($attributes)" \
    grep -qE '^ *(A +)?S +H ' <<<"$attributes"
answer=$(cd "$folder" && "$wine" ./vellumstack-lookup.exe hello 2>/dev/null | tr -d '\r')
check "the installed lookup finds \"hello\"" grep -q 'Hello' <<<"$answer"

# The user's colours, as the installed program keeps them (what the file held is put back
# afterwards).
mkdir -p "$(dirname "$settings")"
saved=""
[ -f "$settings" ] && saved=$(mktemp) && cp "$settings" "$saved"
printf 'colours' >"$settings"
"$wine" "$folder/uninstall.exe" /S /CurrentUser >/dev/null 2>&1
# The uninstaller runs on from a copy of itself; it is done when the folder is gone.
for _ in $(seq 100); do
    [ -e "$folder" ] || break
    sleep 0.2
done
check "the uninstall removes the program folder" [ ! -e "$folder" ]
check "and the Start-menu entry" [ ! -e "$shortcut" ]
check "and leaves the user's colours" [ "$(cat "$settings" 2>/dev/null)" = colours ]
if [ -n "$saved" ]; then
    mv "$saved" "$settings"
else
    rm -f "$settings"
fi

if [ "$failures" -gt 0 ]; then
    echo "installer_test: $failures check(s) failed"
    exit 1
fi
echo "installer_test: all checks passed"
