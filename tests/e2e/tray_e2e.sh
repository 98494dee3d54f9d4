#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of the notification icon in a real X server with a real notification
# area: the icon is embedded, a right click opens its menu at the pointer, Hide, Show,
# About and Exit do what they say (after Show, typed keys go into the search box even with
# no window manager), the icon survives a restart of the notification area, and it is gone
# after Exit and after the main window is closed.
#
# Usage: tray_e2e.sh <vellumstack program> <closewindow helper>
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb cannot start here).
set -uo pipefail

program=${1:?usage: tray_e2e.sh <program> <closewindow>}
closewindow=${2:?usage: tray_e2e.sh <program> <closewindow>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_test=e2e_tray

trap xs_cleanup EXIT
xs_init

xs_start_xvfb_or_skip

xs_require_tools trayer xdotool xwininfo xprop import convert
xs_empty_program_folder "$program"
app=$xs_app

at_top() { [ "$(xs_geometry "$main" | cut -d' ' -f2)" = 0 ]; }

# Clicks the left button $1 times where the pointer is (on the icon); no menu may open.
clicks_open_nothing()
{
    xdotool click --repeat "$1" --delay 80 1
    sleep 0.5
    xs_menu_closed
}

# The dark pixels of a strip inside the search box, wherever the menu bar's height puts it:
# text typed there darkens many more of them than the blinking cursor does.
box_ink()
{
    local x y
    read -r x y _ _ <<<"$(xs_geometry "$main")"
    import -window root "$xs_work/box.png" 2>/dev/null &&
        convert "$xs_work/box.png" -crop "400x20+$((x + 12))+$((y + 36))" +repage \
            -colorspace Gray -threshold 50% -format '%[fx:round(w*h*(1-mean))]' info:
}
box_inked_beyond() { [ "$(box_ink)" -gt $(($1 + 150)) ]; }

# --- first run: the menu, Hide, Show, About from a hidden window, a restart of the
# notification area, Exit from the tray menu.
require "notification area starts" xs_start_trayer
xs_start_program "$app"
require "main window appears" xs_wait_for "the main window" 15 main_appeared
main=$(main_window)
require "main window is shown" xs_wait_for "the main window shown" 10 main_shown
require "icon is embedded in the notification area" xs_wait_for "the icon" 10 xs_icon_embedded
check "window is moved to the top edge" xs_wait_for "the placement" 5 at_top

require "a right click on the icon opens the tray menu" xs_right_click_icon
check "tray menu opens at the pointer" menu_at_pointer
xdotool key Escape
require "tray menu closes on Escape" xs_wait_for "the menu to close" 5 xs_menu_closed
check "a left click on the icon opens nothing" clicks_open_nothing 1
check "a double click on the icon opens nothing" clicks_open_nothing 2

# A click into the word list takes the focus there; Show must bring it back to the search box.
read -r wx wy _ _ <<<"$(xs_geometry "$main")"
xdotool mousemove $((wx + 100)) $((wy + 200)) click 1
# Shown: the first enabled item is Hide.
require "Hide from the tray menu" menu_pick Down
require "Hide hides the main window" xs_wait_for "the window hidden" 10 main_hidden
check "icon stays after Hide" xs_icon_embedded
# Hidden: the first enabled item is Show. No window manager gives the window the keyboard
# here: Show itself must, and into the search box.
require "Show from the tray menu" menu_pick Down
require "Show shows the main window" xs_wait_for "the window shown" 10 main_shown
before=$(box_ink)
xdotool type --delay 40 WWWWWWWW
check "after Hide and Show typing goes into the search box" \
    xs_wait_for "the typed text" 5 box_inked_beyond "$before"
xs_log "dark pixels in the search box: $before before typing, $(box_ink) after"
require "Hide once more" menu_pick Down
require "the window is hidden once more" xs_wait_for "the window hidden" 10 main_hidden

# The second enabled item is About.
require "About from the tray menu while hidden" menu_pick Down Down
require "About opens the about window" xs_wait_for "the about window" 10 about_open
check "main window stays hidden under About" main_hidden
about=$(about_window)
require "close the about window" "$closewindow" "$about"
require "about window closes" xs_wait_for "the about window to close" 10 about_closed
sleep 0.5
check "program keeps running after the about window closed over a hidden window" xs_program_running
check "icon stays after the about window closed" xs_icon_embedded

require "Show from the tray menu" menu_pick Down
require "Show shows the main window" xs_wait_for "the window shown" 10 main_shown

old_icon=$(xs_icon_id)
xs_stop_trayer
check "icon goes with the notification area" xs_wait_for "the icon to go" 10 xs_icon_absent
require "notification area restarts" xs_start_trayer
check "icon comes back into the restarted notification area" \
    xs_wait_for "the icon to come back" 10 xs_icon_embedded
xs_log "icon window before the restart $old_icon, after $(xs_icon_id)"

require "Hide again, to exit from a hidden window" menu_pick Down
require "window hidden again" xs_wait_for "the window hidden" 10 main_hidden
require "Exit from the tray menu" menu_pick Up
xs_wait_program_end 10
status=$?
check "Exit ends the run (status $status)" test "$status" = 0
check "icon is gone after Exit" xs_wait_for "the icon to go" 5 xs_icon_absent

# --- second run: closing the main window.
xs_start_program "$app"
require "main window appears again" xs_wait_for "the main window" 15 main_appeared
main=$(main_window)
require "main window is shown again" xs_wait_for "the main window shown" 10 main_shown
require "icon is embedded again" xs_wait_for "the icon" 10 xs_icon_embedded
require "close the main window" "$closewindow" "$main"
xs_wait_program_end 10
status=$?
check "closing the main window ends the run (status $status)" test "$status" = 0
check "icon is gone after closing the window" xs_wait_for "the icon to go" 5 xs_icon_absent

finish
