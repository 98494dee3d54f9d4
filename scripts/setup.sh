#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the project needs that are not installed yet.
#
#   scripts/setup.sh            what building and running the dictionary need
#   scripts/setup.sh --tests    that, and what the test suite, the benchmarks and the fuzz
#                               targets add, the Windows build and its tests under Wine included
#
# Idempotent: a machine that has them all is left alone (no apt-get call at all). Says in one
# line what it installs, or that nothing is missing.
set -euo pipefail

# Building the programs, making the sample dictionary and running the window.
run_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the data-set builder reads the gzip-compressed dictionary
    zlib1g-dev
    # sample dictionary sources
    dict-freedict-eng-ara wordnet-base
    # fonts for the window: stand-ins with the metrics of the window's design faces (see the
    # README, "Fonts")
    fonts-dejavu-core fonts-liberation2 fonts-urw-base35 fonts-noto-core
)

# What the tests, benchmarks and fuzz targets add.
test_packages=(
    libbenchmark-dev
    # the fuzz targets: clang with libFuzzer and the sanitizer runtimes
    clang-14 libclang-rt-14-dev
    # a real X server, a window manager, a notification area and input for window tests
    # and screenshots
    xvfb xauth x11-utils openbox trayer xdotool imagemagick
    # the screen-reader test: a session bus, the accessibility bus and a pyatspi client
    dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    # the end-to-end test's helper that closes a window like a window manager
    libx11-dev
    # the Debian package (cpack -G DEB reads the programs' dependencies with dpkg-shlibdeps)
    # and its test and checks
    dpkg-dev file strace desktop-file-utils appstream lintian
    # the notification icon over D-Bus: a private session bus, a StatusNotifierItem watcher
    # and host, and gdbus to act as the host does
    dbus-daemon libglib2.0-bin haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
)

# The Windows build (scripts/windows.sh): MinGW-w64 with posix threads (Qt needs them), zlib
# for Windows, Wine to run the programs and their tests, NSIS for the installer, xz and
# patch for Qt's source, zip for the portable download.
windows_packages=(
    g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine64 wine nsis
    xz-utils patch zip
)

packages=("${run_packages[@]}")
case "${1:-}" in
    "") ;;
    --tests) packages+=("${test_packages[@]}" "${windows_packages[@]}") ;;
    *)
        echo "usage: scripts/setup.sh [--tests]" >&2
        exit 2
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "==> All ${#packages[@]} packages needed are installed"
    exit 0
fi

echo "==> Installing ${#missing[@]} packages (a few minutes on a fresh machine): ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
# sudo clears the environment: the setting goes through env, past it.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
