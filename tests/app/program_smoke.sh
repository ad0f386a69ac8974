#!/usr/bin/env bash
# The desktop program under a private Xvfb, as a user drives it: open the example fault file,
# press plot, see the model in the viewer window, save the forward tracers while the viewer is
# open, and end the program from the viewer with "q" (status 0). A second run ends through
# "E&xit" with the viewer open. Exits 77 (skipped) when Xvfb is not installed.
# usage: program_smoke.sh TOLVEX_PROGRAM WINDOW_PROBE_PROGRAM [SCREENSHOT_FOLDER]
set -u
program=$1
probe=$2
shots=${3:-}

. "$(dirname "$0")/../xvfb_session.sh"

# Waits for the main window, then for the viewer: the other visible window titled "tolvex".
main_window() { timeout 20 xdotool search --sync --onlyvisible --classname tolvex | head -n 1; }
viewer_window() {
    local main=$1
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --name '^tolvex$'); do
            [ "$w" != "$main" ] && { echo "$w"; return; }
        done
        sleep 0.2
    done
}
menu() { # menu MAIN_WINDOW LETTER: the "&File" menu, then one of its items
    xdotool windowfocus --sync "$1" key alt+f
    sleep 0.5
    xdotool key "$2"
}
# dialog MAIN_WINDOW LETTER TITLE TEXT: a menu item's file dialog, answered with TEXT and Return;
# returns once the dialog has closed.
dialog() {
    menu "$1" "$2"
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$3\$" | head -n 1)
    [ -n "$window" ] || { fail "no $3 dialog"; return; }
    xdotool windowfocus --sync "$window" type --delay 20 "$4"
    xdotool key Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$3\$" >/dev/null || return
        sleep 0.1
    done
    fail "the $3 dialog did not close"
}
press_plot() { # the button's centre, with the window at the top-left corner of the screen
    xdotool mousemove 64 231 click 1
}

"$program" >"$work/out" 2>&1 &
pid=$!
main=$(main_window)
if [ -z "$main" ]; then
    fail "no main window"
    cat "$work/out"
    exit 1
fi
[ "$(xdotool getwindowname "$main")" = tolvex ] || fail "main window title is not tolvex"

dialog "$main" o Open graben.efd
[ -n "$shots" ] && command -v import >/dev/null && import -window "$main" "$shots/main-window.png"
press_plot
viewer=$(viewer_window "$main")
if [ -z "$viewer" ]; then
    fail "plot opened no viewer window"
else
    sleep 1
    "$probe" scene "$viewer" || fail "the viewer does not show blocks, tracers and axes"
    check_idle "$pid" "main window and viewer"
    if [ -n "$shots" ] && command -v import >/dev/null; then
        import -window root -crop 760x600+0+0 "$shots/both-windows.png"
    fi
fi

dialog "$main" t "Save As" "$work/forward"
for _ in $(seq 50); do # the file appears whole, by rename, once the handler has written it
    [ -f "$work/forward.txt" ] && break
    sleep 0.1
done
lines=$(wc -l <"$work/forward.txt" 2>/dev/null || echo 0)
[ "$lines" -eq 3565 ] || fail "saved $lines forward tracers, wanted 3565"

[ -n "$viewer" ] && xdotool windowfocus --sync "$viewer" key q
wait_for_exit "$pid"
status=$?
[ "$status" -eq 0 ] || { fail "q in the viewer: exit status $status"; cat "$work/out"; }

# "E&xit" with the viewer open ends the whole program with status 0.
"$program" >"$work/out" 2>&1 &
pid=$!
main=$(main_window)
press_plot
[ -n "$(viewer_window "$main")" ] || fail "second run: plot opened no viewer window"
menu "$main" x
wait_for_exit "$pid"
status=$?
[ "$status" -eq 0 ] || { fail "E&xit: exit status $status"; cat "$work/out"; }

[ "$failures" -eq 0 ] || exit 1
echo "the desktop program opened, plotted, saved and ended as a user drives it"
