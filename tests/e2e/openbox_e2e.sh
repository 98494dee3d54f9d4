#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of the window on a desktop with a window manager (openbox) and a
# notification area (trayer), on the sample dictionary: the keys typed right after start go
# into the search box without a click and fill the word list, Enter shows the definition,
# the outer window is the screen's width and its height less 380 twips with its title bar
# at the top of the screen, and after Hide and Show from the icon's menu and after the
# about window (closed with its close box, and with Esc) typing goes into the search box
# again. A window the user moves stays put.
#
# Usage: openbox_e2e.sh <vellumstack program> <vellumstack-make-dataset> <closewindow helper>
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb cannot start here).
set -uo pipefail

program=${1:?usage: openbox_e2e.sh <program> <make-dataset> <closewindow>}
builder=${2:?usage: openbox_e2e.sh <program> <make-dataset> <closewindow>}
closewindow=${3:?usage: openbox_e2e.sh <program> <make-dataset> <closewindow>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_test=e2e_openbox

trap xs_cleanup EXIT
xs_init

xs_screen=1024x768x24
xs_start_xvfb_or_skip

xs_require_tools openbox trayer xdotool xwininfo xprop import convert
[ -x "$program" ] && [ -x "$builder" ] || {
    fail "no program at $program or no data-set builder at $builder"
    finish
}

# A program folder of its own with the sample dictionary, made from the Debian packages
# that scripts/setup.sh installs.
app="$xs_work/app"
mkdir -p "$app"
cp "$program" "$app/vellumstack"
make_dictionary()
{
    "$builder" --out "$app" --dict-index /usr/share/dictd/freedict-eng-ara.index \
        --dict-data /usr/share/dictd/freedict-eng-ara.dict.dz \
        --wordnet /usr/share/wordnet >"$xs_work/dataset.log" 2>&1
}
require "the sample dictionary is made" make_dictionary

frame_top() { outer_geometry | cut -d' ' -f2; }
title_bar_at_top() { [ "$(frame_top)" = 0 ]; }

# What the rectangles show, to tell whether they changed (xs_colours_in, xsession.sh).
list_picture()
{
    local x y
    read -r x y _ _ <<<"$(xs_geometry "$main")"
    import -window root "$xs_work/list.png" 2>/dev/null &&
        convert "$xs_work/list.png" -crop "190x300+$((x + 4))+$((y + 100))" +repage -format %# info:
}
list_changed_from() { [ "$(list_picture)" != "$1" ]; }

require "window manager starts" xs_start_openbox
require "notification area starts" xs_start_trayer
xs_start_program "$app"
require "main window appears" xs_wait_for "the main window" 15 main_appeared
main=$(main_window)
require "main window is shown" xs_wait_for "the main window shown" 10 main_shown
require "main window has the keyboard" xs_wait_for "the window manager's focus" 10 main_focused

# Typed at once, before anything else touches the window: no click.
check "nothing is typed yet" list_empty
xdotool type --delay 40 colour
check "typing right after start fills the word list" xs_wait_for "the word list" 5 list_filled
check "no definition before Enter" definition_empty
xdotool key Return
check "Enter shows the definition" xs_wait_for "the definition" 5 definition_shown

require "the window manager framed the window" xs_wait_for "the frame" 5 framed
check "title bar at the top of the screen (frame $(frame_extents))" \
    xs_wait_for "the placement" 5 title_bar_at_top
read -r ox oy ow oh <<<"$(outer_geometry)"
xs_log "outer window ${ow}x${oh} at ${ox},${oy}"
# 380 twips at 15 twips a pixel: 25 pixels.
check "outer window is the screen's width and its height less 380 twips" \
    test "$ow $oh" = "1024 743"
check "left edge of the frame on the screen" test "$ox" -ge 0

require "Hide from the tray menu" menu_pick Down
require "Hide hides the main window" xs_wait_for "the window hidden" 10 main_hidden
require "Show from the tray menu" menu_pick Down
require "Show shows the main window" xs_wait_for "the window shown" 10 main_shown
check "Show gives the window the keyboard" xs_wait_for "the focus" 5 main_focused
before=$(list_picture)
xdotool type --delay 40 zebra
check "after Hide and Show typing goes into the search box" \
    xs_wait_for "the word list to follow" 5 list_changed_from "$before"
check "Show keeps the place at the top" title_bar_at_top

# F1 opens the about window; when it closes the focus is where it was, in the search box.
xdotool key F1
require "F1 opens the about window" xs_wait_for "the about window" 10 about_open
require "close the about window" "$closewindow" "$(about_window)"
require "about window closes" xs_wait_for "the about window to close" 10 about_closed
check "main window has the keyboard again" xs_wait_for "the focus" 5 main_focused
before=$(list_picture)
xdotool type --delay 40 colo
check "after the about window typing goes into the search box" \
    xs_wait_for "the word list to follow" 5 list_changed_from "$before"

# Esc closes the about window as its close box does.
xdotool key F1
require "F1 opens the about window again" xs_wait_for "the about window" 10 about_open
xdotool key Escape
require "Esc closes the about window" xs_wait_for "the about window to close" 10 about_closed
check "main window has the keyboard after Esc" xs_wait_for "the focus" 5 main_focused
before=$(list_picture)
xdotool type --delay 40 zeb
check "after Esc typing goes into the search box" \
    xs_wait_for "the word list to follow" 5 list_changed_from "$before"

# The placement at the top happens once: a window moved down stays there.
xdotool windowmove "$main" 0 120
sleep 0.5
check "a window moved by the user stays where it was put (top $(frame_top))" \
    test "$(frame_top)" -gt 0

require "Exit from the tray menu" menu_pick Up
xs_wait_program_end 10
status=$?
check "Exit ends the run (status $status)" test "$status" = 0

finish
