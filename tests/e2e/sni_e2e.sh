#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of the notification icon as a StatusNotifierItem on D-Bus, the protocol of
# the desktops that host icons that way: on a private session bus with a watcher and a host,
# the icon registers with the watcher and exports the tray menu over DBusMenu (its layout,
# the states of Show and Hide, its items clicked through Event); a real right click on the
# host's icon shows that menu and nothing else; a host's context request opens the tray menu
# at the pointer, and the host then draws none; no other request opens anything. Hide,
# Show, About and Exit work through the menu, and the icon is gone from the watcher after
# Exit. With VELLUMSTACK_E2E_SHOTS set to a folder, the host's menu is photographed there.
#
# Usage: sni_e2e.sh <vellumstack program> <closewindow helper>
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb or the session bus cannot start here).
set -uo pipefail

program=${1:?usage: sni_e2e.sh <program> <closewindow>}
closewindow=${2:?usage: sni_e2e.sh <program> <closewindow>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"
# shellcheck source=snisession.sh
source "$here/snisession.sh"
sni_private_bus "$0" "$@"

xs_test=e2e_sni

trap xs_cleanup EXIT
xs_init

xs_start_xvfb_or_skip

xs_require_tools status-notifier-watcher gtk-sni-tray-standalone xdotool xwininfo
xs_empty_program_folder "$program"
app=$xs_app


exports_a_menu() { [ -n "$(sni_menu_path)" ] && [ "$(sni_menu_path)" != /NO_DBUSMENU ]; }
# DBusMenu marks an item's access key with an underscore before its letter.
exported_layout() { [ "$(sni_menu_labels)" = "_Show _Hide - _About - E_xit" ]; }
# The exported states of Show and Hide: $1 for Show, $2 for Hide.
exported_states() { sni_menu_item_is _Show "$1" && sni_menu_item_is _Hide "$2"; }

# Calls the item's method $1 with the pointer over the host's icon; no menu may open.
call_opens_nothing()
{
    sni_host_icon_point || return 1
    xdotool mousemove "$xs_pointer_x" "$xs_pointer_y"
    sni_item_call "$1" "$xs_pointer_x" "$xs_pointer_y" || return 1
    sleep 0.5
    xs_menu_closed && sni_host_menu_closed && return 0
    # Closed again, so that the next check starts from no menu.
    xdotool key Escape
    xs_wait_for "the menu to close" 5 xs_menu_closed
    return 1
}

# The host's menu, drawn from the exported layout, is large enough for its four items and
# two separators; an empty one is a strip a few pixels high.
host_menu_holds_items()
{
    local x y w h
    read -r x y w h <<<"$(xs_geometry "$(sni_host_menu_id)")"
    xs_log "host's menu at ${x},${y} ${w}x${h}"
    [ "$h" -ge 80 ] && [ "$w" -ge 40 ]
}

photograph()
{
    [ -n "${VELLUMSTACK_E2E_SHOTS:-}" ] || return 0
    mkdir -p "$VELLUMSTACK_E2E_SHOTS" && import -window root "$VELLUMSTACK_E2E_SHOTS/$1.png"
}

require "StatusNotifierWatcher starts" sni_start_watcher
require "StatusNotifierHost starts and registers" sni_start_host
xs_session_bus=keep xs_start_program "$app"
require "main window appears" xs_wait_for "the main window" 15 main_appeared
main=$(main_window)
require "main window is shown" xs_wait_for "the main window shown" 10 main_shown
require "icon registers with the watcher" xs_wait_for "the item" 10 sni_item_registered
xs_log "item $sni_item_name $sni_item_path"
require "item exports a menu (at $(sni_menu_path))" exports_a_menu
check "exported layout: Show, Hide, a separator, About, a separator, Exit, each with its access key ($(sni_menu_labels))" \
    exported_layout
check "exported while shown: Show disabled, Hide enabled" exported_states disabled enabled

check "Activate opens nothing" call_opens_nothing Activate
check "SecondaryActivate opens nothing" call_opens_nothing SecondaryActivate
require "the context request opens the tray menu" sni_context_menu
check "tray menu opens at the pointer" menu_at_pointer
check "the host draws no menu of its own beside it" sni_host_menu_closed
xdotool key Escape
require "tray menu closes on Escape" xs_wait_for "the menu to close" 5 xs_menu_closed

# A host that shows exported menus (this one sends no context request): a real right click.
require "a right click on the host's icon" sni_right_click_host_icon
require "shows the host's menu" xs_wait_for "the host's menu" 5 sni_host_menu_open
check "the host's menu holds the exported items" host_menu_holds_items
check "the program opens no menu beside it" xs_menu_closed
photograph exported-menu
# Shown: the first item the keyboard reaches is Hide (Show is disabled).
xdotool key --delay 50 Down Return
require "Hide picked in the host's menu hides the main window" \
    xs_wait_for "the window hidden" 10 main_hidden
check "the host's menu closes" xs_wait_for "the host's menu to close" 5 sni_host_menu_closed
check "icon stays registered after Hide" sni_item_registered
check "exported while hidden: Show enabled, Hide disabled" exported_states enabled disabled

# Each exported item runs the same handler as the pop-up's.
require "Show clicked through Event" sni_menu_click _Show
require "Show shows the main window" xs_wait_for "the window shown" 10 main_shown
check "exported while shown again: Show disabled, Hide enabled" exported_states disabled enabled
require "Hide clicked through Event" sni_menu_click _Hide
require "Hide hides the main window" xs_wait_for "the window hidden" 10 main_hidden

# Hidden: the first enabled item is Show, the second About.
require "About from the tray menu while hidden" menu_pick Down Down
require "About opens the about window" xs_wait_for "the about window" 10 about_open
check "main window stays hidden under About" main_hidden
require "close the about window" "$closewindow" "$(about_window)"
require "about window closes" xs_wait_for "the about window to close" 10 about_closed
check "program keeps running after the about window closed" xs_program_running

require "Show from the tray menu" menu_pick Down
require "Show shows the main window" xs_wait_for "the window shown" 10 main_shown

require "Exit from the tray menu" menu_pick Up
xs_wait_program_end 10
status=$?
check "Exit ends the run (status $status)" test "$status" = 0
check "icon is gone from the watcher after Exit" xs_wait_for "the item to go" 5 sni_item_gone

finish
