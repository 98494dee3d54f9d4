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
# The item's exported menu is read and clicked as a host does, over com.canonical.dbusmenu.

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

# menu_pick (xsession.sh) opens the tray menu that way: this session has no XEmbed icon.
# shellcheck disable=SC2034 # read by menu_pick
xs_menu_opener=sni_context_menu

# The object path of the item's exported menu ("/NO_DBUSMENU" when it exports none).
sni_menu_path() { sni_item_property Menu | grep -o "objectpath '[^']*'" | cut -d"'" -f2; }

sni_menu_call()
{
    local path
    path=$(sni_menu_path) || return 1
    sni_call -d "$sni_item_name" -o "$path" -m "com.canonical.dbusmenu.$1" -- "${@:2}"
}

# The exported menu's items in order, one a line: "id label enabled" for an item, "id -"
# for a separator (the top level's children as GetLayout gives them).
sni_menu_items()
{
    sni_menu_call GetLayout 0 -1 '@as []' | grep -o "<([0-9]*, {[^}]*}" |
        awk -v q="'" '{
            id = substr($1, 3); sub(/,$/, "", id)
            if (index($0, q "type" q ": <" q "separator" q ">")) { print id, "-"; next }
            label = $0; sub(".*" q "label" q ": <" q, "", label); sub(q ">.*", "", label)
            print id, label, (index($0, q "enabled" q ": <false>") ? "disabled" : "enabled")
        }'
}

# The labels of the exported menu in order, separators as "-", on one line.
sni_menu_labels() { sni_menu_items | awk '{ printf "%s%s", (NR > 1 ? " " : ""), $2 } END { print "" }'; }

# Whether the exported item labelled $1 is enabled ($2 = enabled) or not ($2 = disabled).
sni_menu_item_is() { sni_menu_items | awk -v label="$1" -v state="$2" '$2 == label && $3 == state { found = 1 } END { exit !found }'; }

# Clicks the exported item labelled $1 as a host does when the user picks it.
sni_menu_click()
{
    local id
    id=$(sni_menu_items | awk -v label="$1" '$2 == label { print $1; exit }')
    [ -n "$id" ] || return 1
    sni_menu_call Event "$id" clicked '<int32 0>' 0 >/dev/null
}

# The host's own menu, the one it draws from the exported layout.
sni_host_menu_id() { xs_open_menu_of '("gtk-sni-tray-standalone" "Gtk-sni-tray-standalone")'; }

sni_host_menu_open() { sni_host_menu_id >/dev/null; }
sni_host_menu_closed() { ! sni_host_menu_open; }

# A real right click on the host's icon, the panel raised above the program's window (no
# window manager keeps it there). Leaves the pointer over the icon.
sni_right_click_host_icon()
{
    local panel
    sni_host_icon_point || return 1
    for panel in $(xwininfo -root -children 2>/dev/null |
        awk '/\("gtk-sni-tray-standalone" "Gtk-sni-tray-standalone"\)/ { print $1 }'); do
        xs_viewable "$panel" && xdotool windowraise "$panel"
    done
    xdotool mousemove "$xs_pointer_x" $((xs_pointer_y + 60))
    xdotool mousemove "$xs_pointer_x" "$xs_pointer_y"
    sleep 0.2
    xdotool click 3
}
