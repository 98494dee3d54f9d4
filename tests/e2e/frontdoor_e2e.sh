#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of the README's first command, scripts/run.sh, as a newcomer runs it: on
# the already built tree, whose program folder has no data set yet, in a private X server
# under openbox. The window it opens must show the definition of a typed word; the test
# then closes it. The program folder's data set is moved aside first and put back at the
# end if the run did not make a new one.
#
# The cmake that run.sh finds on the PATH here answers a listing of the build's targets
# (--target help) with far more than a pipe holds, so that a script that probes that
# listing with a reader that stops at its first match fails every time, not now and then.
#
# Usage: frontdoor_e2e.sh <source folder> <closewindow helper>
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb cannot start here).
set -uo pipefail

root=${1:?usage: frontdoor_e2e.sh <source folder> <closewindow>}
closewindow=${2:?usage: frontdoor_e2e.sh <source folder> <closewindow>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_test=e2e_frontdoor
bin="$root/build/bin"
saved=""

restore_data_set()
{
    local folder
    [ -n "$saved" ] || return 0
    for folder in source source1; do
        if [ ! -e "$bin/$folder" ] && [ -e "$saved/$folder" ]; then
            mv "$saved/$folder" "$bin/$folder"
        fi
    done
}
trap 'restore_data_set; xs_cleanup' EXIT
xs_init

xs_screen=1024x768x24
xs_start_xvfb_or_skip
xs_require_tools openbox xdotool xwininfo import convert

# The program folder without a data set, as on a machine where run.sh has not made one.
saved="$xs_work/saved"
mkdir -p "$saved"
for folder in source source1; do
    [ -e "$bin/$folder" ] && mv "$bin/$folder" "$saved/$folder"
done

real_cmake=$(command -v cmake)
mkdir -p "$xs_work/path"
cat >"$xs_work/path/cmake" <<EOF
#!/usr/bin/env bash
case " \$* " in
    *" --target help "*)
        "$real_cmake" "\$@" || exit
        yes "filler-target: phony" | head -n 200000
        exit
        ;;
esac
exec "$real_cmake" "\$@"
EOF
chmod +x "$xs_work/path/cmake"

require "window manager starts" xs_start_openbox

# The program is what run.sh ends in (exec), so its process is the script's.
mkdir -p "$xs_work/home"
chmod 700 "$xs_work/home"
(
    cd "$root" &&
        exec env -u DBUS_SESSION_BUS_ADDRESS -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY \
            PATH="$xs_work/path:$PATH" HOME="$xs_work/home" \
            XDG_CONFIG_HOME="$xs_work/home/.config" XDG_RUNTIME_DIR="$xs_work/home" \
            QT_QPA_PLATFORM=xcb scripts/run.sh
) >"$xs_work/run.log" 2>&1 &
xs_program_pid=$!
xs_pids+=("$xs_program_pid")

require "run.sh opens the main window" xs_wait_for "the main window" 120 main_appeared
main=$(main_window)
require "main window is shown" xs_wait_for "the main window shown" 10 main_shown
require "main window has the keyboard" xs_wait_for "the window manager's focus" 10 main_focused
check "run.sh made a sound data set in the program folder" \
    "$bin/vellumstack-make-dataset" --check "$bin"

xdotool type --delay 40 hello
check "typing fills the word list" xs_wait_for "the word list" 5 list_filled
xdotool key Return
check "Enter shows the definition of the typed word" \
    xs_wait_for "the definition" 5 definition_shown

require "close the main window" "$closewindow" "$main"
xs_wait_program_end 10
status=$?
check "closing the window ends the run (status $status)" test "$status" = 0

finish
