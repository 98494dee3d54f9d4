#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of what a screen reader reads: the program in a private X server with a
# session bus of its own and the accessibility bus (at-spi2-core) started on it, read by a
# pyatspi client (atspi_client.py) on the sample dictionary, in both lookup modes.
#
# Usage: atspi_e2e.sh <vellumstack program> <vellumstack-make-dataset>
# Exit status: 0 passed, 1 failed, 77 skipped (no X server or no accessibility bus here).
set -uo pipefail

program=${1:?usage: atspi_e2e.sh <program> <make-dataset>}
builder=${2:?usage: atspi_e2e.sh <program> <make-dataset>}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

# The client runs on the system's Python, which has the Debian packages' modules.
python=/usr/bin/python3

xs_test=e2e_atspi
# Here every failure ends the run.
fail()
{
    xs_log "FAIL: $*"
    xs_failures=$((xs_failures + 1))
    finish
}

# Inside the private session bus: the accessibility bus, the program, the client.
if [ "${1:-}" = --in-session ]; then
    shift 2
    xs_work=$1 app=$2 word=$3 idiom=$4
    if ! gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >"$xs_work/a11y-bus.log" 2>&1; then
        echo "SKIP: the accessibility bus does not start: $(tr '\n' ' ' <"$xs_work/a11y-bus.log")"
        exit 77
    fi
    (cd "$app" && exec env HOME="$xs_work/home" XDG_CONFIG_HOME="$xs_work/home/.config" \
        XDG_RUNTIME_DIR="$xs_work/home" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        ./vellumstack) >"$xs_work/program.log" 2>&1 &
    pid=$!
    "$python" "$here/atspi_client.py" "$word" "$idiom"
    status=$?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit "$status"
fi

trap xs_cleanup EXIT
xs_init

xs_start_xvfb_or_skip
# A window manager gives the window the keyboard focus, which the reader follows.
xs_start_openbox || fail "the window manager (openbox) does not start"
for tool in dbus-run-session gdbus /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh --tests installs it)"
done
"$python" -c 'import pyatspi' 2>"$xs_work/python.log" ||
    fail "pyatspi cannot be imported (scripts/setup.sh --tests installs python3-pyatspi)"
[ -x "$program" ] && [ -x "$builder" ] || fail "no program at $program or no builder at $builder"

app="$xs_work/app"
mkdir -p "$app" "$xs_work/home"
chmod 700 "$xs_work/home"
cp "$program" "$app/vellumstack"
"$builder" --out "$app" --dict-index /usr/share/dictd/freedict-eng-ara.index \
    --dict-data /usr/share/dictd/freedict-eng-ara.dict.dz \
    --wordnet /usr/share/wordnet >"$xs_work/dataset.log" 2>&1 ||
    fail "the sample dictionary cannot be made"

# dbus-run-session ends the bus, and the accessibility bus started on it, with the client.
env -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY \
    dbus-run-session -- "$0" --in-session "$program" "$xs_work" "$app" book "bow out" \
    2> >(grep -v 'Failed to set fd limit' >&2)
status=$?
[ "$status" = 0 ] || [ "$status" = 77 ] || fail "the screen reader's checks failed (status $status)"
[ "$status" = 77 ] && exit 77
finish
