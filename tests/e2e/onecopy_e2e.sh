#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of one copy for a user on a display and a program folder, under openbox
# with a notification area (trayer): a second start while the window is hidden brings the
# running window forward as Show does (shown, with the keyboard, typing going into the
# search box) and ends with status 0, leaving one window and one icon; after the running
# copy is killed with SIGKILL, a new start opens a window of its own. A second start while
# the about window is open brings the about window forward, over the main window; a
# program in another folder opens its own window; a start whose running copy is stopped
# (SIGSTOP) opens its own window within 3 seconds, and the stopped copy, once continued,
# does not come forward over it; a folder, a FIFO or a dangling link where the lock goes
# leaves the start its window.
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

# The window ids of _NET_CLIENT_LIST_STACKING, bottom first, in decimal.
stacking()
{
    local id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | sed 's/^[^#]*#//; s/,/ /g'); do
        echo $((id))
    done
}
# Whether the window $1 lies above the window $2.
stacked_above()
{
    local id below=""
    for id in $(stacking); do
        [ "$id" = "$(($2))" ] && below=yes
        [ "$id" = "$(($1))" ] && [ -n "$below" ] && return 0
    done
    return 1
}
focused() { [ "$(($(xdotool getwindowfocus 2>/dev/null || echo 0)))" = "$(($1))" ]; }
two_windows() { [ "$(shown_windows)" = 2 ]; }
# The shown window of the program that is not $1.
other_window()
{
    local id
    for id in $(xs_top_windows Vellumstack); do
        [ "$((id))" != "$(($1))" ] && xs_viewable "$id" && echo "$id" && return 0
    done
    return 1
}
# Ends the copy $1, continued first should it be stopped.
end_copy()
{
    kill -CONT "$1" 2>/dev/null
    xs_stop "$1"
}

# --- the about window comes forward, not the disabled main window.
xs_start_program "$app"
first=$xs_program_pid
require "the main window appears" xs_wait_for "the main window" 15 main_window_shown
main=$(main_window)
require "its icon is embedded" xs_wait_for "the icon" 10 xs_icon_embedded
# Show is disabled while the window is shown: Down goes to Hide, Down again to About.
require "About from the tray menu" menu_pick Down Down
require "About opens the about window" xs_wait_for "the about window" 10 about_open
about=$(about_window)
# The user brings the main window over it, as a click on its frame does.
xdotool windowactivate "$main" 2>/dev/null
require "the main window lies over the about window" \
    xs_wait_for "the main window on top" 5 stacked_above "$main" "$about"
xs_start_program "$app"
second=$xs_program_pid
xs_wait_program_end 10
status=$?
xs_program_pid=$first
check "the second start ends with status 0 (status $status)" test "$status" = 0
check "the about window comes forward" xs_wait_for "the about window on top" 5 \
    stacked_above "$about" "$main"
check "the about window has the keyboard" xs_wait_for "the focus" 5 focused "$about"
check "the main window stays shown behind it" main_shown
xdotool key Escape
check "Esc closes the about window" xs_wait_for "the about window to close" 10 about_closed
end_copy "$first"

# --- a program in another folder is another program.
app2="$xs_work/app2"
cp -r "$app" "$app2"
xs_start_program "$app"
first=$xs_program_pid
require "the first folder's window appears" xs_wait_for "the main window" 15 main_window_shown
xs_start_program "$app2"
second=$xs_program_pid
check "the other folder's program opens a window of its own" \
    xs_wait_for "a second window" 15 two_windows
check "both keep running" kill -0 "$first" "$second"
end_copy "$second"
end_copy "$first"

# --- a running copy that does not answer: the start opens its own window.
xs_start_program "$app"
first=$xs_program_pid
require "the main window appears once more" xs_wait_for "the main window" 15 main_window_shown
main=$(main_window)
require "and is shown" xs_wait_for "the main window shown" 10 main_shown
kill -STOP "$first"
started=$(date +%s%N)
xs_start_program "$app"
second=$xs_program_pid
check "against a stopped copy the start opens a window of its own" \
    xs_wait_for "a second window" 10 two_windows
took=$((($(date +%s%N) - started) / 1000000))
xs_log "a start against a stopped copy: its window shown after $took ms"
check "within 3 seconds ($took ms)" test "$took" -le 3000
check "the start keeps running" kill -0 "$second"
new=$(other_window "$main")
check "the new window has the keyboard" xs_wait_for "the focus" 5 focused "$new"
kill -CONT "$first"
sleep 2
check "the continued copy does not come forward over it" focused "$new"
end_copy "$second"
end_copy "$first"

# --- something other than a file of the user's where the lock goes: the start still runs.
folder_name=$(printf %s "$(cd "$app" && pwd -P)" | sha1sum | cut -c1-12)
lock="$xs_work/home/vellumstack-xcb-$DISPLAY-$folder_name.lock"
require "the lock lies where the README says ($lock)" test -f "$lock"
for kind in folder fifo link; do
    rm -rf "$lock"
    case $kind in
    folder) mkdir "$lock" ;;
    fifo) mkfifo "$lock" ;;
    link) ln -s "$xs_work/nowhere" "$lock" ;;
    esac
    xs_start_program "$app"
    check "a $kind at the lock's path: the start opens a window" \
        xs_wait_for "the main window" 15 main_window_shown
    check "a $kind at the lock's path: the program keeps running" xs_program_running
    check "a $kind at the lock's path: left as it was" test -e "$lock" -o -L "$lock"
    end_copy "$xs_program_pid"
    xs_wait_for "the window to go" 10 bash -c "! xwininfo -root -tree | grep -q '\"Vellumstack\": (\"vellumstack\"'"
done

finish
