#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Test of the installed Debian package. Makes the package with packaging/make-deb.sh (a
# build folder of its own, <build folder>/deb, with Debian's build flags), checks its
# control fields, its contents, its licence statements and its metadata (lintian must find
# no error and no missing hardening), unpacks it with dpkg -x into a throw-away root, and
# runs it from there: the commands on the PATH, the terminal lookup, and the program in a
# private X server, started through the launcher on the PATH, once as a user who cannot
# write to the installed program folder and once as one who can (root, when the test runs
# as root). The program must read its data set from the installed program folder, keep its
# settings file in the user's configuration folder, and write nothing into the program
# folder, which holds only the package's files, byte for byte as the package holds them.
#
# Run as root, the test runs the programs as the unprivileged user id 65534 and then as
# root itself. Run as another user, it takes away the write permission of its own unpacked
# copy of the program folder for the first run and gives it back for the second.
#
# Usage: package_e2e.sh <build folder> [WORD]
#   WORD  looked up with the installed terminal lookup; "colour" unless given
# Exit status: 0 passed, 1 failed, 77 skipped (some part could not be run here; the output
# names it, and nothing that ran failed).
set -uo pipefail

build=$(cd "${1:?usage: package_e2e.sh <build folder> [WORD]}" && pwd)
word=${2:-colour}
here=$(cd "$(dirname "$0")" && pwd)
source_folder=$(cd "$here/../.." && pwd)
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

xs_require_tools cmake cpack ninja dpkg-buildflags dpkg-deb dpkg-shlibdeps lintian \
    desktop-file-validate appstreamcli strace

# --- The package -------------------------------------------------------------------------
xs_log "making the package"
make_package() { "$source_folder/packaging/make-deb.sh" "$build/deb" "$xs_work/out" >"$xs_work/make-deb.log" 2>&1; }
require "packaging/make-deb.sh makes the package" make_package
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
# The stand-in faces the README's "Fonts" section names, each asked for by the package.
recommends=$(field Recommends)
xs_log "Recommends: $recommends"
readme_fonts=$(awk '/^## Fonts$/ { on = 1; next } /^## / { on = 0 } on' "$source_folder/README.md" |
    grep -oE '`fonts-[a-z0-9.+-]+`' | tr -d '`' | sort -u)
check "the README's \"Fonts\" section names font packages" [ -n "$readme_fonts" ]
for font in $readme_fonts; do
    check "Depends or Recommends names $font" \
        grep -qE "(^|, )$font( |,|$)" <<<"$depends, $recommends"
done
check "Depends names fonts-liberation2 (without it a caption is cut short)" \
    grep -qE "(^|, )fonts-liberation2( |,|$)" <<<"$depends"
for name in Section Priority Maintainer Description; do
    check "the control file has a $name" [ -n "$(field "$name")" ]
done
lint() { lintian --pedantic --display-info --fail-on error "$deb" >"$xs_work/lintian.log" 2>&1; }
check "lintian finds no error" lint
check "lintian finds every hardening feature in the programs" \
    sh -c "! grep -E '^[EWIP]: [^ ]+: hardening-' '$xs_work/lintian.log'"
xs_log "lintian --pedantic: $(grep -c '^W: ' "$xs_work/lintian.log") warning(s)," \
    "$(grep -c '^I: ' "$xs_work/lintian.log") note(s), $(grep -c '^P: ' "$xs_work/lintian.log") pedantic"
grep -E '^[EWIP]: ' "$xs_work/lintian.log"

root=$xs_work/root
require "dpkg -x unpacks the package" dpkg -x "$deb" "$root"
dpkg-deb -e "$deb" "$xs_work/control"
folder=$root/usr/lib/vellumstack
programs=(vellumstack vellumstack-lookup vellumstack-make-dataset)
for program in "${programs[@]}"; do
    check "the package holds the program usr/lib/vellumstack/$program" \
        [ -x "$folder/$program" -a ! -L "$folder/$program" ]
    check "usr/bin/$program is a link into the program folder" \
        [ "$(readlink "$root/usr/bin/$program")" = "../lib/vellumstack/$program" ]
    check "the package holds the manual page of $program" \
        [ -s "$root/usr/share/man/man1/$program.1.gz" ]
    # The programs link only the system's libraries: a run path would only add places a
    # library could be planted.
    check "usr/lib/vellumstack/$program has no RPATH or RUNPATH" \
        sh -c '! readelf -d "$1" | grep -qE "\((RPATH|RUNPATH)\)"' - "$folder/$program"
done
for file in usr/share/doc/vellumstack/copyright usr/share/doc/vellumstack/changelog.gz \
    usr/share/icons/hicolor/32x32/apps/vellumstack.png; do
    check "the package holds $file" [ -s "$root/$file" ]
done
check "the package lists the data folders as hidden, as start-up would" \
    [ "$(cat "$folder/.hidden" 2>/dev/null)" = $'source\nsource1' ]
check "the package marks the program folder as an installed one" [ -s "$folder/.installed" ]

# --- The licence ------------------------------------------------------------------------------
copyright=$root/usr/share/doc/vellumstack/copyright
# The paragraph of the copyright file that begins with the line $1, to the next empty line.
paragraph()
{
    awk -v first="$1" 'start && $0 == first { on = 1 } on && $0 == "" { exit } on { print }
        { start = $0 == "" }' "$copyright"
}
check "the copyright file's \"Files: *\" paragraph puts the programs under GPL-3+" \
    grep -qx 'License: GPL-3+' <<<"$(paragraph 'Files: *')"
gpl3=$(paragraph 'License: GPL-3+')
check "its GPL-3+ paragraph gives version 3 or any later version" \
    grep -q 'either version 3 of the License, or (at your option)' <<<"$gpl3"
check "and the way to the full text" grep -qF '/usr/share/common-licenses/GPL-3.' <<<"$gpl3"
check "the copyright file carries the notices of the sample data set" \
    grep -qx 'License: GPL-2+ and WordNet-3.0' "$copyright"
metainfo=$root/usr/share/metainfo/org.vellumstack.vellumstack.metainfo.xml
project_license=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' "$metainfo")
xs_log "project_license: $project_license"
check "the AppStream project_license is the programs' and the data set's" \
    [ "$project_license" = "GPL-3.0-or-later AND GPL-2.0-or-later AND LicenseRef-WordNet-3.0" ]
check "the desktop entry is valid" \
    desktop-file-validate "$root/usr/share/applications/vellumstack.desktop"
validate_appstream() { appstreamcli validate-tree --no-net "$root" >"$xs_work/appstream.log" 2>&1; }
check "the AppStream metadata is valid and names the desktop entry" validate_appstream

# The package's build made its data set with its own builder; the developer build's, when
# it made one, is the same file for file.
digests() { (cd "$1" && find source source1 -type f -print0 2>/dev/null | sort -z | xargs -0r sha256sum); }
with_data=0
if [ -d "$folder/source" ]; then
    with_data=1
    if [ -d "$build/bin/source" ]; then
        check "the package carries the build's data set, byte for byte" \
            [ -n "$(digests "$folder")" -a "$(digests "$folder")" = "$(digests "$build/bin")" ]
    else
        xs_log "the build has no data set of its own to compare the package's with"
    fi
else
    skip "the package has no data set (the sample dictionary's sources are missing): nothing to look up"
fi

# Every entry of the program folder, and those of the package's listing, as ./path.
listing() { (cd "$folder" && find . | sort); }
package_listing() {
    dpkg-deb -c "$deb" | awk '{ print $6 }' | sed -n 's:^\./usr/lib/vellumstack/*:./:p' |
        sed 's:/$::' | sort
}
check "the program folder holds the package's files and nothing else" \
    [ "$(listing)" = "$(package_listing)" ]
listing_before=$(listing)

# --- A user who cannot write to the program folder -----------------------------------------
home=$xs_work/home
owner_home=$xs_work/owner
mkdir -p "$home/runtime" "$owner_home/runtime"
chmod 700 "$owner_home/runtime"
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

# --- The commands on the PATH -----------------------------------------------------------------
version=$(field Version)
for tool in vellumstack-lookup vellumstack-make-dataset; do
    for option in --help --version; do
        status=0
        user "$root/usr/bin/$tool" "$option" >"$xs_work/$tool$option.out" 2>"$xs_work/$tool$option.log" ||
            status=$?
        check "$tool $option from the PATH ends with status 0 (status $status)" [ "$status" -eq 0 ]
        check "and prints to the standard output only" \
            [ -s "$xs_work/$tool$option.out" -a ! -s "$xs_work/$tool$option.log" ]
    done
    check "$tool --help gives the usage" grep -q "^Usage: .*$tool" "$xs_work/$tool--help.out"
    check "$tool --version gives the package's version" \
        [ "$(cat "$xs_work/$tool--version.out")" = "$tool $version" ]
done

# --- The terminal lookup ---------------------------------------------------------------------
if [ "$with_data" -eq 1 ]; then
    status=0
    user "$root/usr/bin/vellumstack-lookup" "$word" >"$xs_work/lookup.out" 2>"$xs_work/lookup.log" ||
        status=$?
    check "vellumstack-lookup from the PATH shows a definition of \"$word\" (status $status)" \
        [ "$status" -eq 0 ]
    "$build/bin/vellumstack-lookup" --data "$folder" "$word" >"$xs_work/lookup-build.out" 2>&1
    check "and prints what the build's lookup prints" \
        cmp -s "$xs_work/lookup.out" "$xs_work/lookup-build.out"
fi

# --- The window -------------------------------------------------------------------------------
# Starts the installed program through the launcher on the PATH as the user "$@" (nothing:
# this test's own), with the home folder $1, waits for its window and stops it. What it
# opened is in $1/program.trace.
run_window()
{
    local home=$1 tracer
    shift
    # A session bus address that leads nowhere: without one, the program's first use of the
    # bus would start a bus of its own that outlives it.
    (
        cd "$home" &&
            exec "$@" env -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY \
                DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus" HOME="$home" XDG_CONFIG_HOME="$home/.config" \
                XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=xcb \
                strace -f -qq -e trace=openat -o "$home/program.trace" "$root/usr/bin/vellumstack"
    ) >>"$xs_work/program.log" 2>&1 &
    tracer=$!
    xs_pids+=("$tracer")
    check "the installed program shows its window" xs_wait_for "the main window" 20 main_window_shown ||
        return 1
    # The program is the tracer's child; stopping it ends the tracer too.
    xs_program_pid=$(ps -o pid= --ppid "$tracer" | tr -d ' ' | head -n 1)
    xs_stop "$xs_program_pid"
    xs_stop "$tracer"
}
# Whether the run with the home folder $1 opened the file $2 of the program folder, with
# the flags $3 (a pattern) if given.
opened() { grep -qE "openat\(AT_FDCWD, \"$folder/$2\", [^)]*${3:-}[^)]*\) = [0-9]+$" "$1/program.trace"; }
# Whether it opened nothing in the program folder to write or to make it.
opened_nothing_to_write() { ! opened "$1" '[^"]*' 'O_(WRONLY|RDWR|CREAT)'; }

if xs_start_xvfb; then
    if run_window "$home" "${as_user[@]}"; then
        if [ "$with_data" -eq 1 ]; then
            check "started through the launcher, it read its tables from the installed program folder" \
                opened "$home" source/alf.dll
        fi
        check "the settings file is in the user's configuration folder" \
            [ -f "$home/.config/vellumstack/Setting.Dll" ]
        check "and not in the program folder" [ ! -e "$folder/Setting.Dll" ]
    fi

    # --- A user who can write to the program folder: root, when the test runs as root ----------
    [ "$(id -u)" -eq 0 ] || chmod -R u+w "$folder"
    require "this test's user can write to the program folder" \
        sh -c "touch '$folder/probe' && rm '$folder/probe'"
    if run_window "$owner_home"; then
        check "run as $(id -un), who may write there, it opened nothing in the program folder to write" \
            opened_nothing_to_write "$owner_home"
        check "its settings file is in its configuration folder" \
            [ -f "$owner_home/.config/vellumstack/Setting.Dll" ]
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
