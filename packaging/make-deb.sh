#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package in a build folder of its own, configured the way a Debian package
# build is: Debian's build flags (dpkg-buildflags with every hardening feature: fortified
# functions, the stack protector, read-only relocations bound at start), no build type of
# CMake's own on top of them, and only the programs built (VELLUMSTACK_PACKAGE): the package
# preset of CMakePresets.json with Debian's flags added. The developer build and its
# options are left alone.
#
# Usage: packaging/make-deb.sh [BUILD FOLDER] [OUTPUT FOLDER]
#   BUILD FOLDER   the package's build folder; build-deb beside the sources unless given
#   OUTPUT FOLDER  where the .deb is made; the build folder unless given
set -euo pipefail

source=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$source/build-deb}")
out=$(realpath -m "${2:-$build}")

# dpkg-buildflags maps the folder it is run in to "." in the debugging information.
cd "$source"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$source" --preset package -B "$build" -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out"
