#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Qt's qtbase for 64-bit Windows, once, into a cache outside the repository,
# from Debian's own source package of the host's Qt (whose moc, rcc and uic the cross
# build uses). Prints the Qt prefix on its last line.
#
#   scripts/windows-qt.sh        build it unless the cache already holds this recipe's build
#
# The cache is $VELLUMSTACK_CACHE (default ~/.cache/vellumstack); a prefix is named after
# the Qt version and a hash of this recipe and the toolchain file, so a changed recipe
# builds anew and an unchanged one is reused. The build takes 25-60 minutes of wall time
# on a 2-core machine and 0.8 GB of memory; the installed prefix is about 70 MB.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
toolchain_in=$here/packaging/windows/mingw-toolchain.cmake
cache=${VELLUMSTACK_CACHE:-$HOME/.cache/vellumstack}

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
recipe_hash=$(cat "$0" "$toolchain_in" | sha256sum | cut -c1-12)
prefix=$cache/qt-windows-${qt_version//[:+~]/_}-$recipe_hash

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

jobs=$(nproc)
work=$cache/qt-windows-work
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/src"

echo "==> Fetching the source of qt6-base $qt_version from Debian's archive" >&2
# The machine's apt sources name binary packages only: the same archive with deb-src.
sources=/etc/apt/sources.list.d/debian.sources
sed 's/^Types:.*/Types: deb-src/' "$sources" >"$work/apt/sources.sources"
apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/apt"
          -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
          -o "Debug::NoLocking=1")
mkdir -p "$work/apt/cache/archives/partial"
apt-get "${apt_opts[@]}" -qq update
(cd "$work/src" && apt-get "${apt_opts[@]}" -qq source --download-only "qt6-base=$qt_version")

echo "==> Unpacking and patching" >&2
cd "$work/src"
tar -xf qt6-base_*.orig.tar.xz
tar -xf qt6-base_*.debian.tar.xz
src=$(find . -maxdepth 1 -type d -name 'qtbase-*' | head -n 1)
# Debian's security fixes; the other patches are for Debian's own Linux build.
for p in cve-2023-32762.diff cve-2023-32763.diff cve-2023-33285.diff cve-2023-24607.patch; do
    [ -f "debian/patches/$p" ] && patch -d "$src" -p1 -s <"debian/patches/$p"
done

mkdir -p "$prefix"
cp "$toolchain_in" "$prefix/mingw-toolchain.cmake"

echo "==> Configuring and building qtbase for Windows ($jobs jobs; 25-60 minutes)" >&2
mkdir -p "$work/build"
cd "$work/build"
"$work/src/$src/configure" -prefix "$prefix" -release -shared -xplatform win32-g++ \
    -qt-host-path /usr -nomake examples -nomake tests -no-opengl -no-dbus \
    -no-feature-sql -no-feature-printsupport -no-feature-concurrent -no-feature-xml \
    -no-feature-tabletevent -no-feature-vulkan -no-feature-direct2d1_1 \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -no-icu -no-openssl \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-toolchain.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; exit 1; }
cmake --build . --parallel "$jobs" >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install . --strip >"$work/install.log" 2>&1 ||
    { tail -n 40 "$work/install.log" >&2; exit 1; }

cd "$cache"
rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix"
