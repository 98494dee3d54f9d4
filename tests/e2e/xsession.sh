# SPDX-License-Identifier: GPL-3.0-or-later
# A private X session for driving the program: Xvfb on a free display, a notification area
# (trayer), the program itself, and ways to find its windows. Sourced by the end-to-end
# test and by scripts/screenshot.sh. Every process started here is recorded and stopped by
# xs_cleanup, which the caller runs from its EXIT trap.

xs_pids=()
xs_work=""
xs_program_pid=""
xs_trayer_pid=""

xs_log() { echo "[$(date +%T)] $*"; }

# The scratch folder for logs and program folders; removed by xs_cleanup.
xs_init()
{
    xs_work=$(mktemp -d "${TMPDIR:-/tmp}/vellumstack-x.XXXXXX")
    xs_main_shell=$BASHPID
}

xs_stop()
{
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

xs_cleanup()
{
    local i
    # Subshells may run the EXIT trap too; only the shell that started the processes stops them.
    [ "$BASHPID" = "${xs_main_shell:-}" ] || return 0
    # Latest first: the program before its notification area, both before the X server.
    for ((i = ${#xs_pids[@]} - 1; i >= 0; i--)); do
        xs_stop "${xs_pids[i]}"
    done
    xs_pids=()
    [ -n "$xs_work" ] && rm -rf "$xs_work"
    xs_work=""
}

# Polls a command until it succeeds; fails after about $2 seconds (default 10).
xs_wait_for()
{
    local what=$1 seconds=${2:-10}
    shift 2
    local tries=$((seconds * 10))
    for _ in $(seq "$tries"); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    xs_log "timed out waiting for: $what"
    return 1
}

# Starts Xvfb (screen xs_screen, 1024x768x24 unless set) on a display it picks itself and
# exports DISPLAY. Returns 1 where it cannot start, with the reason in xs_reason.
xs_reason=""
xs_start_xvfb()
{
    if ! command -v Xvfb >/dev/null; then
        xs_reason="Xvfb is not installed"
        return 1
    fi
    local displayfile="$xs_work/display"
    : >"$displayfile"
    Xvfb -displayfd 3 -screen 0 "${xs_screen:-1024x768x24}" -nolisten tcp 3>"$displayfile" \
        >"$xs_work/xvfb.log" 2>&1 &
    local pid=$!
    xs_pids+=("$pid")
    for _ in $(seq 100); do
        # The display number is written, with a line break, once the server listens.
        if [ "$(wc -l <"$displayfile")" -ge 1 ]; then
            export DISPLAY=":$(head -n 1 "$displayfile")"
            if xs_wait_for "the X server to answer" 10 xs_x_answers; then
                xs_log "Xvfb runs on $DISPLAY"
                return 0
            fi
            xs_reason="Xvfb took display $DISPLAY but does not answer there"
            return 1
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    xs_reason="Xvfb did not start: $(tr '\n' ' ' <"$xs_work/xvfb.log")"
    return 1
}

# The same, and the run ends as skipped (77) where no X server can be started.
xs_start_xvfb_or_skip()
{
    xs_start_xvfb || {
        echo "SKIP: no X server can be started here: $xs_reason"
        exit 77
    }
}

xs_x_answers() { xwininfo -root >/dev/null 2>&1; }

# Windows are searched in the whole tree: a window manager puts every window it manages
# into a frame window of its own.
# awk reads the whole tree: a reader that stops at its first match would end xwininfo with
# SIGPIPE, and under pipefail the pipeline would then fail however well it found the panel.
xs_panel_id()
{
    xwininfo -root -tree 2>/dev/null | awk '/\("panel" "trayer"\)/ && !found { print $1; found = 1 }'
}

xs_panel_up() { [ -n "$(xs_panel_id)" ]; }

# The panel lies at the right of the edge xs_trayer_edge (top unless set), xs_trayer_height
# pixels high (32 unless set). With xs_trayer_strut=true it reserves its strip of the screen
# along that edge, so that a window manager keeps windows out of it.
xs_start_trayer()
{
    trayer --edge "${xs_trayer_edge:-top}" --align right --widthtype pixel --width 200 \
        --heighttype pixel --height "${xs_trayer_height:-32}" --SetDockType true \
        --SetPartialStrut "${xs_trayer_strut:-false}" --transparent false >"$xs_work/trayer.log" 2>&1 &
    xs_trayer_pid=$!
    xs_pids+=("$xs_trayer_pid")
    xs_wait_for "the notification area" 10 xs_panel_up
}

xs_stop_trayer()
{
    xs_stop "$xs_trayer_pid"
    xs_trayer_pid=""
}

# Starts the program from the folder $1, which is its program folder. The program reads
# no command line; its environment keeps it off the user's own files and session bus, so
# the icon goes to the XEmbed notification area of this display. With xs_session_bus=keep
# the program stays on the session bus of the caller (a private one: snisession.sh).
xs_session_bus=""
xs_start_program()
{
    local folder=$1
    local bus=(-u DBUS_SESSION_BUS_ADDRESS)
    [ "$xs_session_bus" = keep ] && bus=()
    mkdir -p "$xs_work/home"
    chmod 700 "$xs_work/home"
    (
        cd "$folder" &&
            exec env "${bus[@]}" -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY \
                HOME="$xs_work/home" XDG_CONFIG_HOME="$xs_work/home/.config" \
                XDG_RUNTIME_DIR="$xs_work/home" QT_QPA_PLATFORM=xcb ./vellumstack
    ) >>"$xs_work/program.log" 2>&1 &
    xs_program_pid=$!
    xs_pids+=("$xs_program_pid")
}

xs_program_running() { kill -0 "$xs_program_pid" 2>/dev/null; }

# Waits for the program to end by itself and returns its exit status.
xs_wait_program_end()
{
    xs_wait_for "the program to end" "${1:-10}" bash -c "! kill -0 $xs_program_pid 2>/dev/null" ||
        return 124
    local status=0
    wait "$xs_program_pid" || status=$?
    return "$status"
}

# Top-level windows of the program with the title $1, one id a line.
xs_top_windows()
{
    xwininfo -root -tree 2>/dev/null |
        awk -v title="\"$1\":" '$2 == title && /\("vellumstack" "vellumstack"\)/ { print $1 }'
}

xs_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
xs_not_viewable() { ! xs_viewable "$1"; }

# "x y width height" of a window, in root coordinates.
xs_geometry()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'
}

# The program's icon window inside the notification area: it must carry the XEmbed
# information a tray icon gives its notification area.
xs_icon_id()
{
    local panel id
    panel=$(xs_panel_id)
    [ -n "$panel" ] || return 1
    id=$(xwininfo -id "$panel" -tree 2>/dev/null |
        awk '/\("vellumstack" "vellumstack"\)/ && !found { print $1; found = 1 }')
    [ -n "$id" ] || return 1
    xprop -id "$id" _XEMBED_INFO 2>/dev/null | grep -q '_XEMBED_INFO(_XEMBED_INFO) = ' || return 1
    echo "$id"
}

xs_icon_embedded() { xs_icon_id >/dev/null; }
xs_icon_absent() { ! xs_icon_embedded; }

# The open pop-up menu of the program whose window class xwininfo prints as CLASS (with its
# parentheses and quotes), if any: a mapped override-redirect window of that program taller
# than the one line of a tool tip or a panel's strip (menus have no window type of their own).
xs_open_menu_of()
{
    local id info
    for id in $(xwininfo -root -children 2>/dev/null | grep -F -- "$1" | awk '{ print $1 }'); do
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        if grep -q 'Map State: IsViewable' <<<"$info" &&
            grep -q 'Override Redirect State: yes' <<<"$info" &&
            [ "$(awk '/Height:/ { print $2 }' <<<"$info")" -ge 60 ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# The program's own open pop-up menu.
xs_popup_menu_id() { xs_open_menu_of '("vellumstack" "vellumstack")'; }

xs_menu_open() { xs_popup_menu_id >/dev/null; }
xs_menu_closed() { ! xs_menu_open; }

# Right-clicks the middle of the icon and waits for the menu; leaves the pointer there.
# An icon that has only just been embedded may miss the first click: it is tried again.
xs_right_click_icon()
{
    local icon x y w h attempt
    for attempt in 1 2 3; do
        xs_click_icon_once || return 1
        if xs_wait_for "the tray menu (attempt $attempt)" 2 xs_menu_open; then
            return 0
        fi
    done
    return 1
}

# Opens the tray menu with xs_menu_opener and picks an item with the keyboard: Down from the
# menu's opening goes to its first enabled item, Up to its last (Exit). The menu is opened
# with a right click on the icon in the notification area unless xs_menu_opener names
# another way (snisession.sh: the item's context request, as a host makes it).
xs_menu_opener=xs_right_click_icon
menu_pick()
{
    "$xs_menu_opener" || return 1
    xdotool key --delay 50 "$@" Return
    xs_wait_for "the menu to close" 5 xs_menu_closed
}

# Whether the open menu lies over the point where the pointer was when it was opened.
menu_at_pointer()
{
    local x y w h
    read -r x y w h <<<"$(xs_geometry "$(xs_popup_menu_id)")"
    xs_log "menu at ${x},${y} ${w}x${h}, pointer at ${xs_pointer_x},${xs_pointer_y}"
    [ "$xs_pointer_x" -ge "$x" ] && [ "$xs_pointer_x" -le $((x + w)) ] &&
        [ "$xs_pointer_y" -ge "$y" ] && [ "$xs_pointer_y" -le $((y + h)) ]
}

xs_click_icon_once()
{
    local icon x y w h
    icon=$(xs_icon_id) || return 1
    # Without a window manager nothing keeps the panel above the program's window.
    xdotool windowraise "$(xs_panel_id)"
    read -r x y w h <<<"$(xs_geometry "$icon")"
    xs_pointer_x=$((x + w / 2))
    xs_pointer_y=$((y + h / 2))
    # Come in from outside, as a hand does: an icon the pointer never entered may not take
    # the press.
    xdotool mousemove "$xs_pointer_x" $((y + h + 40))
    xdotool mousemove "$xs_pointer_x" "$xs_pointer_y"
    xs_wait_for "the pointer over the notification area" 5 xs_pointer_on "$(xs_panel_id)" || return 1
    xdotool click 3
}

# Whether the pointer is over the top-level window $1 (or over the frame that a window
# manager put around it).
xs_pointer_on()
{
    local window
    window=$(xdotool getmouselocation --shell | awk -F= '$1 == "WINDOW" { print $2 }')
    [ -n "$window" ] || return 1
    [ "$((window))" = "$(($1))" ] ||
        xwininfo -id "$window" -tree 2>/dev/null | awk -v id="$1" '$1 == id { found = 1 } END { exit !found }'
}

# Starts the openbox window manager and waits until it manages the screen; one that ends
# before it does is started once more.
xs_start_openbox()
{
    local attempt pid status
    for attempt in 1 2; do
        openbox --sm-disable >>"$xs_work/openbox.log" 2>&1 &
        pid=$!
        xs_pids+=("$pid")
        for _ in $(seq 200); do
            xs_wm_up && return 0
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            xs_log "openbox runs but does not manage the screen"
            return 1
        fi
        status=0
        wait "$pid" || status=$?
        xs_log "openbox ended with status $status (attempt $attempt)"
    done
    return 1
}

xs_wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The checks and verdict of an end-to-end test. xs_test names the test in its verdict;
# xs_log_tail, when set, cuts each log shown after a failure to its last lines.
xs_test=e2e
xs_log_tail=""
xs_failures=0
xs_skipped=0

fail()
{
    xs_log "FAIL: $*"
    xs_failures=$((xs_failures + 1))
}

# A part that cannot be run here; the run then ends as skipped unless something failed.
skip()
{
    xs_log "SKIP: $*"
    xs_skipped=$((xs_skipped + 1))
}

check()
{
    local what=$1
    shift
    if "$@"; then
        xs_log "ok: $what"
        return 0
    fi
    fail "$what"
    return 1
}

# A step that the rest of the run depends on: stop at once when it fails.
require()
{
    check "$@" || finish
}

xs_show_logs()
{
    local log
    for log in "$xs_work"/*.log; do
        [ -s "$log" ] || continue
        echo "--- $(basename "$log")"
        if [ -n "$xs_log_tail" ]; then
            tail -n "$xs_log_tail" "$log"
        else
            cat "$log"
        fi
    done
}

# Ends the run: 1 when a check failed (with the logs), 77 when a part was skipped, else 0.
finish()
{
    if [ "$xs_failures" -gt 0 ]; then
        xs_show_logs
        echo "$xs_test: $xs_failures check(s) failed"
        exit 1
    fi
    if [ "$xs_skipped" -gt 0 ]; then
        echo "$xs_test: passed, but $xs_skipped part(s) skipped"
        exit 77
    fi
    echo "$xs_test: all checks passed"
    exit 0
}

# Ends the run as failed unless every tool named is installed.
xs_require_tools()
{
    local tool
    for tool; do
        command -v "$tool" >/dev/null || {
            fail "$tool is not installed (scripts/setup.sh --tests installs it)"
            finish
        }
    done
}

# A program folder of its own, xs_app, with the program $1 and an empty data set: the
# program finds its data beside itself and writes its settings file there.
xs_app=""
xs_empty_program_folder()
{
    [ -x "$1" ] || {
        fail "no program at $1"
        finish
    }
    xs_app="$xs_work/app"
    mkdir -p "$xs_app/source" "$xs_app/source1"
    cp "$1" "$xs_app/vellumstack"
}

# The program's windows by their title. The caller sets main to the main window's id once
# main_appeared; the about window is any other shown window of that title.
main_window() { xs_top_windows Vellumstack | awk 'NR == 1'; } # to the end, as xs_panel_id
main_appeared() { [ -n "$(main_window)" ]; }
main_shown() { xs_viewable "$main"; }
main_hidden() { xs_not_viewable "$main"; }
main_focused() { [ "$(($(xdotool getwindowfocus 2>/dev/null || echo 0)))" = "$((main))" ]; }
# Under a window manager: the frame it drew around the main window, "left right top bottom"
# from _NET_FRAME_EXTENTS, and the outer window, frame included, as "x y width height".
frame_extents()
{
    xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null |
        awk -F' = ' '/CARDINAL/ { gsub(/,/, "", $2); print $2 }'
}
framed() { [ -n "$(frame_extents)" ]; }
outer_geometry()
{
    local x y w h left right top bottom
    read -r x y w h <<<"$(xs_geometry "$main")"
    read -r left right top bottom <<<"$(frame_extents)"
    echo $((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))
}
main_window_shown() { local id; id=$(main_window) && [ -n "$id" ] && xs_viewable "$id"; }
about_window()
{
    local id
    for id in $(xs_top_windows Vellumstack); do
        if [ "$id" != "$main" ] && xs_viewable "$id"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
about_open() { about_window >/dev/null; }
about_closed() { ! about_open; }

# The number of colours in a rectangle of the main window $main ("width height x y" of its
# client area): one for an empty box, more where text is drawn.
xs_colours_in()
{
    local w=$1 h=$2 dx=$3 dy=$4 x y
    xs_shot="$xs_work/shot.png"
    read -r x y _ _ <<<"$(xs_geometry "$main")"
    import -window root "$xs_shot" 2>/dev/null || return 1
    convert "$xs_shot" -crop "${w}x${h}+$((x + dx))+$((y + dy))" +repage -format %k info:
}
# The menu bar's height varies with the font; these lie inside the list and inside the
# definition box of a 1024 pixels wide window for any of them, at the zoom such a window
# starts with on a screen 768 high (0.96 under openbox) and above.
list_filled() { [ "$(xs_colours_in 190 300 4 100)" -gt 1 ]; }
list_empty() { [ "$(xs_colours_in 190 300 4 100)" = 1 ]; }
definition_shown() { [ "$(xs_colours_in 300 50 640 98)" -gt 1 ]; }
definition_empty() { [ "$(xs_colours_in 300 50 640 98)" = 1 ]; }
