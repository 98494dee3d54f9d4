#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build, made here: Qt's qtbase cross-built once with MinGW-w64 into a cache
# outside the repository (scripts/windows-qt.sh), the project cross-built into
# build-windows/ (program folder build-windows/bin, with the Qt libraries and plugins the
# programs load beside them, and the sample dictionary of the Linux build, the same bytes),
# the test programs run under Wine, one end-to-end run of the window under Wine in Xvfb,
# and what a Windows user downloads: a portable zip and an installer, in build-windows/dist.
#
#   scripts/windows.sh            all of it
#   scripts/windows.sh build      only the build (and the Qt build, the first time)
#
# Needs the Linux build's sample dictionary (build/bin/source, source1): scripts/build.sh
# and the sample-data target make it. The Wine prefix lives in the cache as well.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
what=${1:-all}

scripts/setup.sh --tests
cache=${VELLUMSTACK_CACHE:-$HOME/.cache/vellumstack}
qt=$(scripts/windows-qt.sh | tail -n 1)
build=$top/build-windows
folder=$build/bin

echo "==> Building for Windows in build-windows/ (Qt in $qt)"
mkdir -p "$build"
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 >"$build/configure.log" 2>&1 ||
    { tail -n 30 "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --parallel "$(nproc)"

# What the programs load, found from their import lists: the Qt libraries and the MinGW
# runtime, and the plugins Qt loads by name (the platform and the style).
echo "==> Putting the libraries the programs load beside them"
mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
search=("$qt/bin" "$mingw_runtime" /usr/x86_64-w64-mingw32/lib /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
mkdir -p "$folder/platforms" "$folder/styles"
cp -u "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp -u "$qt/plugins/platforms/qoffscreen.dll" "$folder/platforms/"
cp -u "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
pending=("$folder"/*.exe "$folder"/platforms/*.dll "$folder"/styles/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$folder/$dll" ] && continue
        for place in "${search[@]}"; do
            if [ -f "$place/$dll" ]; then
                cp "$place/$dll" "$folder/"
                pending+=("$folder/$dll")
                break
            fi
        done
    done
done

# The off-screen windows of the tests read their fonts from one folder: the faces the tests
# see on Linux (scripts/setup.sh installs them), as a Windows machine has its own.
rm -rf "$build/fonts"
mkdir -p "$build/fonts"
for font in /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf \
    /usr/share/fonts/truetype/noto/NotoSansArabic-*.ttf /usr/share/fonts/opentype/urw-base35/P052-*.otf; do
    [ -f "$font" ] && ln -s "$font" "$build/fonts/"
done

echo "==> The sample dictionary, as the Linux build made it"
if [ ! -f build/bin/source/alf.dll ]; then
    cmake --build build --target sample-data >/dev/null
fi
rm -rf "$folder/source" "$folder/source1"
cp -r build/bin/source build/bin/source1 "$folder/"

[ "$what" = build ] && exit 0

# --- Under Wine --------------------------------------------------------------------------
export WINEPREFIX=$cache/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
    echo "==> Making the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' \
        /v CurrentVersion /d 10.0 /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.ready"
fi
# One Wine server for every start, so that each costs a fraction of a second, and the
# prefix's own services started now, with no output to hold: a service that a test's start
# began would keep the test's output open, and the test would never be seen to end.
/usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null &
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null

echo "==> The test programs under Wine"
ctest --test-dir "$build" --output-on-failure --timeout 600

# The window gets a Wine server of its own, started on its X display: the services of the
# one above know no display, and a window started beside them never appears.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true

echo "==> The window under Wine in Xvfb"
tests/windows/wine_e2e.sh "$folder/vellumstack.exe"

echo "==> What a Windows user downloads"
packaging/windows/make-dist.sh "$build" "$folder"

echo "==> The installer under Wine"
tests/windows/installer_test.sh "$build"/dist/Vellumstack-*-windows-x64-setup.exe
