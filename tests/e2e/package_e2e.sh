#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Test of the installed Debian package. Makes the package with cpack from the build folder,
# checks its control fields, its contents and its metadata (lintian must find no error),
# unpacks it with dpkg -x into a throw-away root, and runs it from there as a user who
# cannot write to the installed program folder: the program in a private X server, started
# through the launcher on the PATH, and the terminal lookup. The program must read its data
# set from the installed program folder and keep its settings file in the user's
# configuration folder, and every installed file must stay as the package holds it.
#
# Run as root, the test runs the programs as the unprivileged user id 65534: root may write
# anywhere, so only another user shows what a desktop user meets. Run as another user, it
# takes away the write permission of its own unpacked copy of the program folder.
#
# Usage: package_e2e.sh <build folder> [WORD]
#   WORD  looked up with the installed terminal lookup; "colour" unless given
# Exit status: 0 passed, 1 failed, 77 skipped (some part could not be run here; the output
# names it, and nothing that ran failed).
set -uo pipefail

build=$(cd "${1:?usage: package_e2e.sh <build folder> [WORD]}" && pwd)
word=${2:-colour}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

xs_test=e2e_package
xs_log_tail=40
cleanup()
{
    # The unpacked program folder may have been made read-only.
    [ -n "$xs_work" ] && chmod -R u+w "$xs_work" 2>/dev/null
    xs_cleanup
}

trap cleanup EXIT
xs_init
started=$SECONDS

xs_require_tools cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli strace

# --- The package -------------------------------------------------------------------------
xs_log "making the package"
make_package() { cpack -G DEB --config "$build/CPackConfig.cmake" -B "$xs_work/out" >"$xs_work/cpack.log" 2>&1; }
require "cpack makes the package" make_package
debs=("$xs_work"/out/*.deb)
require "exactly one package was made" [ ${#debs[@]} -eq 1 -a -f "${debs[0]}" ]
deb=${debs[0]}
xs_log "made $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) in $((SECONDS - started)) s"

field() { dpkg-deb -f "$deb" "$1"; }
check "the file is named vellumstack_<version>_<architecture>.deb" \
    [ "$(basename "$deb")" = "vellumstack_$(field Version)_$(dpkg --print-architecture).deb" ]
depends=$(field Depends)
xs_log "Depends: $depends"
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
    check "Depends names $library" grep -qE "(^|, )$library( |,|$)" <<<"$depends"
done
for name in Section Priority Maintainer Description; do
    check "the control file has a $name" [ -n "$(field "$name")" ]
done
lint() { lintian --fail-on error "$deb" >"$xs_work/lintian.log" 2>&1; }
check "lintian finds no error" lint
xs_log "lintian: $(grep -c '^W: ' "$xs_work/lintian.log") warning(s), $(grep -c '^I: ' "$xs_work/lintian.log") note(s)"
grep -E '^[EW]: ' "$xs_work/lintian.log"

root=$xs_work/root
require "dpkg -x unpacks the package" dpkg -x "$deb" "$root"
dpkg-deb -e "$deb" "$xs_work/control"
folder=$root/usr/lib/vellumstack
for file in usr/lib/vellumstack/vellumstack usr/lib/vellumstack/vellumstack-lookup \
    usr/lib/vellumstack/vellumstack-make-dataset; do
    check "the package holds the program $file" [ -x "$root/$file" -a ! -L "$root/$file" ]
done
check "the launcher on the PATH is a link into the program folder" \
    [ "$(readlink "$root/usr/bin/vellumstack")" = ../lib/vellumstack/vellumstack ]
for file in usr/share/doc/vellumstack/copyright usr/share/doc/vellumstack/changelog.gz \
    usr/share/icons/hicolor/32x32/apps/vellumstack.png; do
    check "the package holds $file" [ -s "$root/$file" ]
done
check "the copyright file carries the notices of the sample data set" \
    grep -q 'License: GPL-2+ and WordNet-3.0' "$root/usr/share/doc/vellumstack/copyright"
check "the desktop entry is valid" \
    desktop-file-validate "$root/usr/share/applications/vellumstack.desktop"
validate_appstream() { appstreamcli validate-tree --no-net "$root" >"$xs_work/appstream.log" 2>&1; }
check "the AppStream metadata is valid and names the desktop entry" validate_appstream

# The data set the build made is the one in the package, file for file.
digests() { (cd "$1" && find source source1 -type f -print0 2>/dev/null | sort -z | xargs -0r sha256sum); }
with_data=0
if [ -d "$build/bin/source" ]; then
    with_data=1
    check "the package carries the build's data set, byte for byte" \
        [ -n "$(digests "$folder")" -a "$(digests "$folder")" = "$(digests "$build/bin")" ]
else
    skip "the build has no data set (the sample dictionary's sources are missing): nothing to look up"
fi

# --- A user who cannot write to the program folder -----------------------------------------
home=$xs_work/home
mkdir -p "$home/runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
        chmod 755 "$xs_work"
        chown -R 65534:65534 "$home"
    else
        skip "running as root, and setpriv cannot switch to an unprivileged user here"
        finish
    fi
else
    chmod -R a-w "$folder"
fi
chmod 700 "$home/runtime"
user() { "${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME="$home/.config" "$@"; }
require "the user cannot write to the installed program folder" \
    user sh -c "! touch '$folder/probe' 2>/dev/null && ! touch '$folder/source/probe' 2>/dev/null"
listing() { (cd "$folder" && find . | sort); }
listing_before=$(listing)

# --- The terminal lookup ---------------------------------------------------------------------
if [ "$with_data" -eq 1 ]; then
    status=0
    user "$folder/vellumstack-lookup" "$word" >"$xs_work/lookup.out" 2>"$xs_work/lookup.log" ||
        status=$?
    check "the installed lookup shows a definition of \"$word\" (status $status)" [ "$status" -eq 0 ]
    "$build/bin/vellumstack-lookup" --data "$build/bin" "$word" >"$xs_work/lookup-build.out" 2>&1
    check "the installed lookup prints what the build's lookup prints" \
        cmp -s "$xs_work/lookup.out" "$xs_work/lookup-build.out"
fi

# --- The window -------------------------------------------------------------------------------
settings=$home/.config/vellumstack/Setting.Dll
if xs_start_xvfb; then
    trace=$home/program.trace
    # A session bus address that leads nowhere: without one, the program's first use of the
    # bus would start a bus of its own that outlives it.
    (
        cd "$home" &&
            exec "${as_user[@]}" env -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY \
                DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus" HOME="$home" XDG_CONFIG_HOME="$home/.config" \
                XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=xcb \
                strace -f -qq -e trace=openat -o "$trace" "$root/usr/bin/vellumstack"
    ) >>"$xs_work/program.log" 2>&1 &
    tracer=$!
    xs_pids+=("$tracer")
    if check "the installed program shows its window" xs_wait_for "the main window" 20 main_window_shown; then
        # The program is the tracer's child; stopping it ends the tracer too.
        xs_program_pid=$(ps -o pid= --ppid "$tracer" | tr -d ' ' | head -n 1)
        xs_stop "$xs_program_pid"
        xs_stop "$tracer"
        opened() { grep -qE "openat\(AT_FDCWD, \"$folder/$1\", [^)]*\) = [0-9]+$" "$trace"; }
        if [ "$with_data" -eq 1 ]; then
            check "started through the launcher, it read its tables from the installed program folder" \
                opened source/alf.dll
        fi
        check "the settings file is in the user's configuration folder" [ -f "$settings" ]
        check "and not in the program folder" [ ! -e "$folder/Setting.Dll" ]
    fi
else
    skip "no X server can be started here ($xs_reason): the window was not run"
fi

# --- Nothing installed changed ---------------------------------------------------------------
check "no file was added to or removed from the program folder" [ "$(listing)" = "$listing_before" ]
check "every installed file is byte-identical to the package's" \
    sh -c "cd '$root' && md5sum --quiet -c '$xs_work/control/md5sums'"

xs_log "finished in $((SECONDS - started)) s"
finish
