#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of the placement at the top on a desktop whose panel reserves a strip of
# the screen: under openbox, with a notification area (trayer) that holds its strip at the
# top and then at the bottom, the outer window, frame included, lies wholly inside the work
# area the window manager announces (_NET_WORKAREA, _NET_FRAME_EXTENTS), its title bar at
# the work area's top. With VELLUMSTACK_E2E_SHOTS set to a folder, the window under the top
# panel is photographed there.
#
# Usage: panels_e2e.sh <vellumstack program>
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb cannot start here).
set -uo pipefail

program=${1:?usage: panels_e2e.sh <program>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_test=e2e_panels

trap xs_cleanup EXIT
xs_init

xs_screen=1024x768x24
xs_start_xvfb_or_skip

xs_require_tools openbox trayer xdotool xwininfo xprop
xs_empty_program_folder "$program"
app=$xs_app

# "x y width height" of the work area of the first desktop.
work_area() { xprop -root _NET_WORKAREA 2>/dev/null | awk -F' = ' '/CARDINAL/ { gsub(/,/, "", $2); print $2 }' | cut -d' ' -f1-4; }
# The work area leaves the panel's strip out: $1 is its expected "x y width height".
work_area_is() { [ "$(work_area)" = "$1" ]; }

title_bar_at_work_area_top() { [ "$(outer_geometry | cut -d' ' -f2)" = "$(work_area | cut -d' ' -f2)" ]; }
inside_work_area()
{
    local ox oy ow oh wx wy ww wh
    read -r ox oy ow oh <<<"$(outer_geometry)"
    read -r wx wy ww wh <<<"$(work_area)"
    xs_log "outer window ${ow}x${oh} at ${ox},${oy}; work area ${ww}x${wh} at ${wx},${wy}"
    [ "$ox" -ge "$wx" ] && [ "$oy" -ge "$wy" ] &&
        [ $((ox + ow)) -le $((wx + ww)) ] && [ $((oy + oh)) -le $((wy + wh)) ]
}
# Where the panel takes more than the 380 twips (25 pixels) start-up leaves, the window is
# as high as the work area, no less.
as_high_as_work_area() { [ "$(outer_geometry | cut -d' ' -f4)" = "$(work_area | cut -d' ' -f4)" ]; }

# One run of the program with the panel at the edge $1, holding $2 ("x y width height")
# free.
run_with_panel()
{
    local edge=$1 free=$2
    xs_trayer_edge=$edge xs_trayer_strut=true xs_trayer_height=32
    require "a panel that reserves its strip at the $edge starts" xs_start_trayer
    require "the work area leaves the $edge strip out" \
        xs_wait_for "the work area" 10 work_area_is "$free"
    xs_start_program "$app"
    require "main window appears" xs_wait_for "the main window" 15 main_appeared
    main=$(main_window)
    require "main window is shown" xs_wait_for "the main window shown" 10 main_shown
    require "the window manager framed the window" xs_wait_for "the frame" 5 framed
    check "panel at the $edge: title bar at the work area's top (frame $(frame_extents))" \
        xs_wait_for "the placement" 5 title_bar_at_work_area_top
    sleep 0.5
    check "panel at the $edge: the outer window lies inside the work area" inside_work_area
    check "panel at the $edge: the outer window is as high as the work area" as_high_as_work_area
    if [ "$edge" = top ] && [ -n "${VELLUMSTACK_E2E_SHOTS:-}" ] && command -v import >/dev/null; then
        mkdir -p "$VELLUMSTACK_E2E_SHOTS" && import -window root "$VELLUMSTACK_E2E_SHOTS/top-panel.png"
    fi
    require "Exit from the tray menu" menu_pick Up
    xs_wait_program_end 10
    local status=$?
    check "Exit ends the run (status $status)" test "$status" = 0
    xs_stop_trayer
}

require "window manager starts" xs_start_openbox
run_with_panel top "0 32 1024 736"
run_with_panel bottom "0 0 1024 736"

finish
