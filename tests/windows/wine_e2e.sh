#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build's window under Wine, in Xvfb with a notification area (trayer): the
# word "hello" typed and Enter pressed shows its definition, the icon stands in the
# notification area, and Exit from the icon's menu ends the program.
# Usage: wine_e2e.sh <vellumstack.exe in its program folder, with the sample dictionary>
# With VELLUMSTACK_SHOT set, the screen after the lookup is kept there (a PNG).
# Exit status: 0 passed, 1 failed, 77 skipped (no X server here).
set -uo pipefail
program=${1:?usage: wine_e2e.sh <vellumstack.exe>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xsession.sh
source "$here/../e2e/xsession.sh"

xs_test=wine_e2e
xs_log_tail=40
trap xs_cleanup EXIT
xs_init
xs_require_tools Xvfb xwininfo xprop xdotool import convert trayer /usr/lib/wine/wine64
xs_start_xvfb_or_skip
require "the notification area starts" xs_start_trayer

# Wine names the program's X windows after the program file.
wine_class='("vellumstack.exe" "vellumstack.exe")'
wine_windows()
{
    xwininfo -root -tree 2>/dev/null |
        awk -v title="\"$1\":" -v class="$wine_class" '$2 == title && index($0, class) { print $1 }'
}
main_window() { wine_windows Vellumstack | awk 'NR == 1'; }
# The icon: a window docked into the notification area with the XEmbed information of a
# tray icon (Wine's, whatever it is called).
xs_icon_id()
{
    local panel id
    panel=$(xs_panel_id)
    [ -n "$panel" ] || return 1
    for id in $(xwininfo -id "$panel" -tree 2>/dev/null | awk 'NR > 1 && $1 ~ /^0x/ { print $1 }'); do
        if xprop -id "$id" _XEMBED_INFO 2>/dev/null | grep -q '_XEMBED_INFO(_XEMBED_INFO) = '; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
xs_popup_menu_id() { xs_open_menu_of "$wine_class"; }
program_ended() { ! kill -0 "$xs_program_pid" 2>/dev/null; }
# Most of the definition box of a 1024-pixel-wide window, below the captions: a short
# definition stands at its right edge.
definition_shown() { [ "$(xs_colours_in 760 200 230 98)" -gt 1 ]; }

folder=$(cd "$(dirname "$program")" && pwd)
(cd "$folder" && exec /usr/lib/wine/wine64 ./vellumstack.exe) >>"$xs_work/program.log" 2>&1 &
xs_program_pid=$!
xs_pids+=("$xs_program_pid")

require "the main window appears" xs_wait_for "the main window" 60 main_appeared
main=$(main_window)
require "the main window is shown" xs_wait_for "the main window shown" 20 main_shown
check "the icon stands in the notification area" xs_wait_for "the icon" 20 xs_icon_embedded

xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
sleep 1
xdotool type --delay 80 hello
xdotool key Return
check "the definition of \"hello\" is shown" xs_wait_for "the definition" 20 definition_shown
if [ -n "${VELLUMSTACK_SHOT:-}" ]; then
    import -window root "$VELLUMSTACK_SHOT" 2>/dev/null && xs_log "screen kept in $VELLUMSTACK_SHOT"
fi

# Exit from the icon's menu: the last item, reached from the top with Up.
if check "the icon's menu opens on a right click" xs_right_click_icon; then
    xdotool key Up Return
fi
check "Exit ends the program" xs_wait_for "the program to end" 20 program_ended
finish
