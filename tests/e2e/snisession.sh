# SPDX-License-Identifier: GPL-3.0-or-later
# The D-Bus side of a private X session: a session bus of its own, a StatusNotifierWatcher
# and a StatusNotifierItem host on it, and ways to reach the program's item there as a host
# does (its methods and properties). Sourced after xsession.sh; every process started here
# is stopped by xs_cleanup, the bus itself by dbus-run-session when the run ends.
#
# A test that uses it starts with
#     source xsession.sh; source snisession.sh; sni_private_bus "$0" "$@"
# and then, in the run on the private bus: xs_init, xs_start_xvfb, sni_start_watcher,
# sni_start_host, xs_session_bus=keep xs_start_program, xs_wait_for ... sni_item_registered.

sni_watcher_pid=""
sni_host_pid=""
sni_item_name=""
sni_item_path=""

# Runs the calling script $1 again, with its arguments, under dbus-run-session, unless this
# is that run. Returns only in the run on the private bus; otherwise exits with that run's
# status, or 77 (skipped) where no session bus can be started.
sni_private_bus()
{
    local script=$1
    shift
    if [ -n "${VELLUMSTACK_E2E_BUS_STARTED:-}" ]; then
        : >"$VELLUMSTACK_E2E_BUS_STARTED"
        unset VELLUMSTACK_E2E_BUS_STARTED
        return 0
    fi
    if ! command -v dbus-run-session >/dev/null || ! command -v gdbus >/dev/null; then
        echo "FAIL: dbus-run-session or gdbus is missing (scripts/setup.sh --tests installs dbus)"
        exit 1
    fi
    local marker status=0
    marker=$(mktemp -u "${TMPDIR:-/tmp}/vellumstack-bus.XXXXXX")
    VELLUMSTACK_E2E_BUS_STARTED=$marker dbus-run-session -- "$script" "$@" || status=$?
    if [ ! -e "$marker" ]; then
        echo "SKIP: no session bus can be started here (dbus-run-session status $status)"
        exit 77
    fi
    rm -f "$marker"
    exit "$status"
}

sni_call() { gdbus call --session --timeout 5 "$@" 2>>"$xs_work/gdbus.log"; }
sni_bus_call() { sni_call -d org.freedesktop.DBus -o /org/freedesktop/DBus -m "org.freedesktop.DBus.$1" "${@:2}"; }
sni_watcher_property()
{
    sni_call -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
        -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "$1"
}

sni_watcher_up() { sni_bus_call NameHasOwner org.kde.StatusNotifierWatcher | grep -q true; }
sni_host_up() { sni_watcher_property IsStatusNotifierHostRegistered | grep -q true; }

sni_start_watcher()
{
    status-notifier-watcher >>"$xs_work/watcher.log" 2>&1 &
    sni_watcher_pid=$!
    xs_pids+=("$sni_watcher_pid")
    xs_wait_for "the StatusNotifierWatcher" 10 sni_watcher_up
}

# The host: a panel along the top edge, its icons at the right end. No accessibility bus:
# nothing here uses it, and it would be one more process on the bus.
sni_start_host()
{
    NO_AT_BRIDGE=1 GTK_A11Y=none gtk-sni-tray-standalone --top --end >>"$xs_work/host.log" 2>&1 &
    sni_host_pid=$!
    xs_pids+=("$sni_host_pid")
    xs_wait_for "the StatusNotifierHost" 10 sni_host_up
}

sni_stop_host()
{
    xs_stop "$sni_host_pid"
    sni_host_pid=""
}

sni_stop_watcher()
{
    xs_stop "$sni_watcher_pid"
    sni_watcher_pid=""
}

# The items the watcher lists, one a line: a bus name, or a bus name and an object path.
sni_registered_items() { sni_watcher_property RegisteredStatusNotifierItems | grep -o "'[^']*'" | tr -d "'"; }

# Finds the registered item whose bus connection belongs to the program's process and
# records it in sni_item_name and sni_item_path.
sni_item_registered()
{
    local entry name pid
    while read -r entry; do
        [ -n "$entry" ] || continue
        name=${entry%%/*}
        pid=$(sni_bus_call GetConnectionUnixProcessID "$name" | grep -o '[0-9]\+,' | tr -d ,)
        if [ "$pid" = "$xs_program_pid" ]; then
            sni_item_name=$name
            sni_item_path=/StatusNotifierItem
            [ "$entry" = "$name" ] || sni_item_path=/${entry#*/}
            return 0
        fi
    done < <(sni_registered_items)
    return 1
}

# Whether the item found last is no longer listed by the watcher.
sni_item_gone()
{
    [ -n "$sni_item_name" ] || return 1
    ! sni_registered_items | grep -q "^$sni_item_name\(/\|$\)"
}

# Calls the method $1 of the program's item with the arguments that follow.
sni_item_call()
{
    sni_call -d "$sni_item_name" -o "$sni_item_path" -m "org.kde.StatusNotifierItem.$1" "${@:2}" >/dev/null
}

# A property of the program's item as gdbus prints it, such as "(<'Vellumstack'>,)".
sni_item_property()
{
    sni_call -d "$sni_item_name" -o "$sni_item_path" \
        -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$1"
}

# Where the host shows its icons, as "x y": the right end of its panel, where a user would
# click. Sets the pointer position that sni_context_menu uses.
sni_host_icon_point()
{
    local id x y w h
    for id in $(xwininfo -root -children 2>/dev/null |
        awk '/\("gtk-sni-tray-standalone" "Gtk-sni-tray-standalone"\)/ { print $1 }'); do
        xs_viewable "$id" || continue
        read -r x y w h <<<"$(xs_geometry "$id")"
        xs_pointer_x=$((x + w - h / 2))
        xs_pointer_y=$((y + h / 2))
        return 0
    done
    return 1
}

# Asks the item for its context menu as the host does on a right click over its icon: the
# pointer over the icon, the pointer's position as the arguments. Waits for the menu.
sni_context_menu()
{
    sni_host_icon_point || return 1
    xdotool mousemove "$xs_pointer_x" "$xs_pointer_y"
    sni_item_call ContextMenu "$xs_pointer_x" "$xs_pointer_y" || return 1
    xs_wait_for "the tray menu" 5 xs_menu_open
}
