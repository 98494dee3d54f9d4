#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the README's screenshot, docs/screenshot.png, in a private X server with a real
# notification area (the machinery of the end-to-end test): a word looked up, and the
# notification icon's menu open at the pointer.
#
# Usage: scripts/screenshot.sh [PROGRAM_FOLDER] [WORD]
#   PROGRAM_FOLDER  the folder holding the program and its data set; build/bin unless given
#                   (make the sample set there with `cmake --build build --target sample-data`)
#   WORD            typed into the search box and looked up; "colour" unless given
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(cd "${1:-$root/build/bin}" && pwd)
word=${2:-colour}
out="$root/docs/screenshot.png"

# shellcheck source=../tests/e2e/xsession.sh
source "$root/tests/e2e/xsession.sh"
trap xs_cleanup EXIT
xs_init

for tool in Xvfb openbox trayer xdotool xwininfo xprop import; do
    command -v "$tool" >/dev/null || {
        echo "$tool is missing: run scripts/setup.sh --tests"
        exit 1
    }
done
[ -x "$folder/vellumstack" ] || {
    echo "no program in $folder: run scripts/build.sh"
    exit 1
}
[ -d "$folder/source" ] ||
    echo "note: $folder holds no data set; the screenshot shows an empty word list"

xs_screen=1280x800x24
xs_start_xvfb || {
    echo "cannot start Xvfb: $xs_reason"
    exit 1
}
# As users see it: under a window manager, with the notification area in the strip that
# the window leaves free at the bottom of the screen.
xs_start_openbox || {
    echo "cannot start openbox: run scripts/setup.sh --tests"
    exit 1
}
xs_trayer_edge=bottom xs_trayer_height=24 xs_start_trayer
xs_start_program "$folder"

xs_wait_for "the main window" 15 main_window_shown
xs_wait_for "the icon in the notification area" 10 xs_icon_embedded
sleep 1 # the placement at the top edge, and the first paint

# The search box has the keyboard from the start.
xdotool type --delay 80 "$word"
xdotool key Return
sleep 1.5 # the lookup and the repaint; nothing outside the window tells when they are done

xs_right_click_icon
sleep 0.5 # the menu's first paint
mkdir -p "$(dirname "$out")"
import -window root "$out"
xs_log "wrote $out"
