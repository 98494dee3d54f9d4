#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of one copy for a user on a display, under openbox with a notification area
# (trayer): a second start while the window is hidden brings the running window forward as
# Show does (shown, with the keyboard, typing going into the search box) and ends with
# status 0, leaving one window and one icon; after the running copy is killed with SIGKILL,
# a new start opens a window of its own.
#
# Usage: onecopy_e2e.sh <vellumstack program>
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb cannot start here).
set -uo pipefail

program=${1:?usage: onecopy_e2e.sh <program>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_test=e2e_onecopy

trap xs_cleanup EXIT
xs_init

xs_screen=1024x768x24
xs_start_xvfb_or_skip

xs_require_tools openbox trayer xdotool xwininfo xprop import convert
xs_empty_program_folder "$program"
app=$xs_app

# The program's shown main windows and the icons in the notification area.
shown_windows()
{
    local id count=0
    for id in $(xs_top_windows Vellumstack); do
        xs_viewable "$id" && count=$((count + 1))
    done
    echo "$count"
}
icons()
{
    local panel
    panel=$(xs_panel_id) || return 1
    xwininfo -id "$panel" -tree 2>/dev/null | grep -c '("vellumstack" "vellumstack")'
}
one_window_one_icon() { [ "$(shown_windows)" = 1 ] && [ "$(icons)" = 1 ]; }
# The tree of windows cannot be read while a window in it goes away: asked again a while.
settles_to_one_window_one_icon() { xs_wait_for "one window and one icon" 15 one_window_one_icon; }

# The number of colours in a strip of the search box, right of where its cursor stands
# while it is empty: one while nothing is typed, more once text is drawn there.
search_box_colours()
{
    local x y
    read -r x y _ _ <<<"$(xs_geometry "$main")"
    import -window root "$xs_work/shot.png" 2>/dev/null || return 1
    # The box lies 4 pixels below the menu bar, some 22 pixels high in any of its fonts.
    convert "$xs_work/shot.png" -crop "120x12+$((x + 24))+$((y + 36))" +repage -format %k info:
}
search_box_empty() { [ "$(search_box_colours)" = 1 ]; }
search_box_typed() { [ "$(search_box_colours)" -gt 1 ]; }

menu_pick()
{
    xs_right_click_icon || return 1
    xdotool key --delay 50 "$@" Return
    xs_wait_for "the menu to close" 5 xs_menu_closed
}

require "window manager starts" xs_start_openbox
require "notification area starts" xs_start_trayer
xs_start_program "$app"
first=$xs_program_pid
require "main window appears" xs_wait_for "the main window" 15 main_appeared
main=$(main_window)
require "main window is shown" xs_wait_for "the main window shown" 10 main_shown
require "icon is embedded" xs_wait_for "the icon" 10 xs_icon_embedded
require "Hide from the tray menu" menu_pick Down
require "Hide hides the main window" xs_wait_for "the window hidden" 10 main_hidden

# A second start, as a second click on the launcher.
xs_start_program "$app"
second=$xs_program_pid
xs_program_pid=$first
require "the running window comes forward" xs_wait_for "the window shown" 10 main_shown
xs_program_pid=$second
xs_wait_program_end 10
status=$?
xs_program_pid=$first
check "the second start ends with status 0 (status $status)" test "$status" = 0
check "the first copy keeps running" xs_program_running
check "one window and one icon" settles_to_one_window_one_icon
check "the window forward has the keyboard" xs_wait_for "the focus" 5 main_focused
check "nothing is typed yet" search_box_empty
xdotool type --delay 40 hello
check "typing goes into the search box" xs_wait_for "the typed text" 5 search_box_typed

# A copy killed outright leaves its lock to the kernel: the next start is a first one.
kill -9 "$first"
wait "$first" 2>/dev/null
check "the icon goes with the killed copy" xs_wait_for "the icon to go" 10 xs_icon_absent
xs_start_program "$app"
require "after SIGKILL a new start opens a window" xs_wait_for "the main window" 15 main_window_shown
main=$(main_window)
check "its icon is embedded" xs_wait_for "the icon" 10 xs_icon_embedded
check "one window and one icon again" settles_to_one_window_one_icon
require "Exit from the tray menu" menu_pick Up
xs_wait_program_end 10
status=$?
check "Exit ends the run (status $status)" test "$status" = 0

finish
