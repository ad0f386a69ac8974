#!/usr/bin/env bash
# The desktop program under a private Xvfb, as a user drives it: open the example fault file,
# press plot, see the model in the viewer window, play its steps, save the forward tracers while
# the viewer is open, close the viewer with "q" and then Esc, plotting again after each, and end
# through "E&xit" (status 0). A second run ends through "E&xit" with the viewer open. Exits 77
# (skipped) when Xvfb is not installed.
# usage: program_smoke.sh TOLVEX_PROGRAM WINDOW_PROBE_PROGRAM [SCREENSHOT_FOLDER]
set -u
program=$1
probe=$2
shots=${3:-}

. "$(dirname "$0")/../xvfb_session.sh"
. "$(dirname "$0")/desktop_driving.sh"

# The white pixels window $1 shows; whether that count differs from, or is, $2.
white_count() { "$probe" scene "$1" | awk '{ print $3 }'; }
whites_differ() { [ "$(white_count "$1")" != "$2" ]; }
whites_are() { [ "$(white_count "$1")" = "$2" ]; }
dialog_closed() { ! visible_window --name "^$1\$" >/dev/null; }
# dialog MAIN_WINDOW LETTER TITLE TEXT: a menu item's file dialog, answered with TEXT and Return;
# returns once the dialog has closed.
dialog() {
    menu "$1" "$2" || return
    local window
    window=$(wait_until 30 visible_window --name "^$3\$")
    [ -n "$window" ] || { fail "no $3 dialog"; return; }
    xdotool windowfocus --sync "$window" type --delay 20 "$4"
    xdotool key Return
    wait_until 30 dialog_closed "$3" || fail "the $3 dialog did not close"
}

start_program
if [ -z "$main" ]; then
    fail "no main window"
    cat "$work/out"
    exit 1
fi
[ "$(xdotool getwindowname "$main")" = tolvex ] || fail "main window title is not tolvex"

dialog "$main" o Open graben.efd
wait_until 30 list_filled "$main" || fail "the fault list stayed empty after Open"
[ -n "$shots" ] && command -v import >/dev/null && import -window "$main" "$shots/main-window.png"
plot_shown "$main"
if [ -n "$viewer" ]; then
    check_idle "$pid" "main window and viewer"
    # Space plays the run from step 0 on the program's own timer: the picture changes, and comes
    # back to the last step's once playback has reached it.
    last_whites=$(white_count "$viewer")
    xdotool windowfocus --sync "$viewer" key space
    wait_until 30 whites_differ "$viewer" "$last_whites" || fail "space did not play the steps"
    wait_until 30 whites_are "$viewer" "$last_whites" || fail "playback did not end at the last step"
    if [ -n "$shots" ] && command -v import >/dev/null; then
        import -window root -crop 760x600+0+0 "$shots/both-windows.png"
    fi
fi

dialog "$main" t "Save As" "$work/forward"
# The file appears whole, by rename, once the handler has written it.
wait_until 30 test -f "$work/forward.txt"
lines=$(wc -l <"$work/forward.txt" 2>/dev/null || echo 0)
[ "$lines" -eq 3565 ] || fail "saved $lines forward tracers, wanted 3565"

# "q" closes the viewer and hands back to the main window: plot runs again and opens a new one,
# which Esc closes the same way.
viewer_gone() { ! find_viewer >/dev/null; }
for key in q Escape; do
    [ -n "$viewer" ] || break
    xdotool windowfocus --sync "$viewer" key "$key"
    wait_until 30 viewer_gone || fail "$key did not close the viewer"
    kill -0 "$pid" 2>/dev/null || { fail "$key in the viewer ended the program"; break; }
    press_plot "$main"
    viewer=$(viewer_window)
    [ -n "$viewer" ] || fail "plot after $key opened no viewer window"
    wait_until 30 "$probe" scene "$viewer" >"$work/scene" ||
        fail "the viewer after $key does not show the model: $(tail -n 1 "$work/scene")"
done
menu "$main" x
wait_for_exit "$pid"
status=$?
[ "$status" -eq 0 ] || { fail "E&xit after reopening the viewer: exit status $status"; cat "$work/out"; }

# "E&xit" with the viewer open ends the whole program with status 0.
start_program
if [ -z "$main" ]; then
    fail "second run: no main window"
else
    press_plot "$main"
    [ -n "$(viewer_window)" ] || fail "second run: plot opened no viewer window"
    menu "$main" x
fi
wait_for_exit "$pid"
status=$?
[ "$status" -eq 0 ] || { fail "E&xit: exit status $status"; cat "$work/out"; }

[ "$failures" -eq 0 ] || exit 1
echo "the desktop program opened, plotted, saved and ended as a user drives it"
