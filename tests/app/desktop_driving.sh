# Sourced by the window scripts after tests/xvfb_session.sh: drives the desktop program's main
# window and finds its viewer. Needs $program (the program to start), $probe (window_probe) and
# $work.

# Where Form1 puts its controls: a client area 273 high below the menu bar, the fault list at
# (8, 8) 280 x 124 and the plot button at (8, 200) 112 x 24 in it.
client_top() { echo $(($(xwininfo -id "$1" | awk '/Height:/ { print $2 }') - 273)); }
# The main window has been drawn once the plot button's label shows.
main_drawn() { "$probe" ink "$1" 8 $(($(client_top "$1") + 200)) 112 24 >/dev/null; }
# The fault list shows lines (looked at inside its frame).
list_filled() { "$probe" ink "$1" 12 $(($(client_top "$1") + 12)) 272 116 >/dev/null; }
# A click reaches the button only while no popup holds the pointer: one that closed a moment ago
# may not have let go yet.
press_plot() {
    wait_until 30 "$probe" pointer-free || fail "the pointer stayed grabbed"
    xdotool mousemove --window "$1" 64 $(($(client_top "$1") + 212)) click 1
}

# Starts the program with the arguments given and sets pid and main: its main window (its only
# window at start), once drawn; main stays empty when there is none.
start_program() {
    "$program" "$@" >"$work/out" 2>&1 &
    pid=$!
    main=$(wait_until 30 visible_window --classname tolvex)
    [ -n "$main" ] && wait_until 30 main_drawn "$main" || main=
}
# Prints the viewer: the visible window titled "tolvex" that is not one of the program's Qt
# windows (main window, menus and dialogs carry its class; the GLUT window none).
find_viewer() {
    local qt window
    qt=$(xdotool search --onlyvisible --classname tolvex 2>/dev/null) && [ -n "$qt" ] || return 1
    for window in $(xdotool search --onlyvisible --name '^tolvex$' 2>/dev/null); do
        grep -qx "$window" <<<"$qt" || {
            echo "$window"
            return 0
        }
    done
    return 1
}
viewer_window() { wait_until 30 find_viewer; }
# Presses plot in the main window $1 and sets viewer to the window it opens (empty when none);
# fails unless the viewer shows blocks, tracers and axes.
plot_shown() {
    press_plot "$1"
    viewer=$(viewer_window)
    if [ -z "$viewer" ]; then
        fail "plot opened no viewer window"
    else
        wait_until 30 "$probe" scene "$viewer" >"$work/scene" ||
            fail "the viewer does not show blocks, tracers and axes: $(tail -n 1 "$work/scene")"
    fi
}
# A visible Qt window besides the main window $1: the menu popup.
menu_open() { xdotool search --onlyvisible --classname tolvex 2>/dev/null | grep -qvx "$1"; }
menu() { # menu MAIN_WINDOW LETTER: the "&File" menu, then one of its items
    xdotool windowfocus --sync "$1" key alt+f
    wait_until 30 menu_open "$1" || { fail "the File menu did not open"; return 1; }
    xdotool key "$2"
}
