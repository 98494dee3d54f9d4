#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs that is not installed yet.
# Idempotent: a machine that has them all is left alone (no apt-get call at all).
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libbenchmark-dev
    # the fuzz targets: clang with libFuzzer and the sanitizer runtimes
    clang-14 libclang-rt-14-dev
    # sample dictionary sources
    dict-freedict-eng-ara wordnet-base
    # the data-set builder reads the gzip-compressed dictionary
    zlib1g-dev
    # fonts for the window and its tests: stand-ins with the metrics of the window's design
    # faces (see the README, "Fonts")
    fonts-dejavu-core fonts-liberation2 fonts-urw-base35 fonts-noto-core
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

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
# sudo clears the environment: the setting goes through env, past it.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
