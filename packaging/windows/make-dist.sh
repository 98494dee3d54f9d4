#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows user downloads, from the program folder of the Windows build: a portable
# zip (the three programs, the libraries and plugins they load, the sample dictionary, the
# licences) and an installer (NSIS) of the same files.
# Usage: make-dist.sh <build folder> <program folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: make-dist.sh <build folder> <program folder>}" && pwd)
folder=$(cd "${2:?usage: make-dist.sh <build folder> <program folder>}" && pwd)
version=$(sed -n 's/^project(Vellumstack VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
dist=$build/dist
stage=$dist/Vellumstack-$version
rm -rf "$dist"
mkdir -p "$stage"

# The programs and what they load; no test program.
cp "$folder"/vellumstack.exe "$folder"/vellumstack-lookup.exe \
    "$folder"/vellumstack-make-dataset.exe "$stage/"
for dll in "$folder"/*.dll; do
    case $(basename "$dll") in
        Qt6Test.dll) ;;
        *) cp "$dll" "$stage/" ;;
    esac
done
mkdir -p "$stage/platforms" "$stage/styles"
cp "$folder/platforms/qwindows.dll" "$stage/platforms/"
cp "$folder/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp -r "$folder/source" "$folder/source1" "$stage/"
# Licences, with Windows line ends: the programs' (GPL-3.0-or-later), the sample
# dictionary's notices (FreeDict: GPL-2+; WordNet) and Qt's (LGPL-3).
sed 's/$/\r/' "$top/COPYING" >"$stage/COPYING.txt"
sed 's/$/\r/' "$top/packaging/copyright" >"$stage/NOTICES.txt"
if [ -f /usr/share/common-licenses/LGPL-3 ]; then
    sed 's/$/\r/' /usr/share/common-licenses/LGPL-3 >"$stage/LGPL-3-Qt.txt"
fi

(cd "$dist" && rm -f "Vellumstack-$version-windows-x64.zip" &&
    zip -qr -9 "Vellumstack-$version-windows-x64.zip" "Vellumstack-$version")
echo "$dist/Vellumstack-$version-windows-x64.zip: $(du -k "$dist/Vellumstack-$version-windows-x64.zip" | cut -f1) KiB"

# The installer's list of files, and the uninstaller's list of the same files, deepest
# first, so that each folder is empty when it is removed.
files=$dist/files.nsh
unfiles=$dist/unfiles.nsh
: >"$files"
: >"$unfiles"
(cd "$stage" && find . -mindepth 1 -type d | sort) | while read -r dir; do
    dir=${dir#./}
    echo "CreateDirectory \"\$INSTDIR\\${dir//\//\\}\"" >>"$files"
done
(cd "$stage" && find . -type f | sort) | while read -r file; do
    file=${file#./}
    win=${file//\//\\}
    echo "File \"/oname=$win\" \"$stage/$file\"" >>"$files"
    echo "Delete \"\$INSTDIR\\$win\"" >>"$unfiles"
done
(cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
    dir=${dir#./}
    echo "RMDir \"\$INSTDIR\\${dir//\//\\}\"" >>"$unfiles"
done
installer=$dist/Vellumstack-$version-windows-x64-setup.exe
makensis -V2 -DVERSION="$version" -DSOURCE="$stage" -DOUTFILE="$installer" \
    -DFILELIST="$files" -DUNFILELIST="$unfiles" "$here/installer.nsi"
echo "$installer: $(du -k "$installer" | cut -f1) KiB"
