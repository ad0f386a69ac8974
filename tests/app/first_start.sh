#!/usr/bin/env bash
# The installed desktop program's first start under a private Xvfb, as a new user meets it (run by
# scripts/package --check with a fresh HOME and no XDG_CONFIG_HOME): it writes the user's settings
# from the installed example and says so once, every file those settings name exists, and plot of
# the example's faults shows the model in the viewer with no message in the way. Exits 77
# (skipped) when Xvfb is not installed.
# usage: first_start.sh TOLVEX_PROGRAM WINDOW_PROBE_PROGRAM FAULT_FILE
set -u
program=$1
probe=$2
faults=$3

. "$(dirname "$0")/../xvfb_session.sh"
. "$(dirname "$0")/desktop_driving.sh"

settings="$HOME/.config/tolvex/tolvex.conf"
start_program "$faults"
[ -n "$main" ] || { fail "no main window"; cat "$work/out"; exit 1; }
# The first start's notice: a box over the main window, which Return closes.
notice=$(wait_until 30 menu_open "$main" && xdotool search --onlyvisible --classname tolvex |
    grep -vx "$main" | head -n 1)
if [ -n "$notice" ]; then
    xdotool windowfocus --sync "$notice" key Return
    wait_until 30 eval '! menu_open "$main"' || fail "the first start's notice did not close"
else
    fail "the first start said nothing"
fi
if [ -f "$settings" ]; then
    while IFS='=' read -r key value; do
        [[ "$key" == \#* || "$key" != *_FILE ]] && continue
        [[ "$value" == /* && -f "$value" ]] || fail "$settings: $key=$value names no file"
    done <"$settings"
else
    fail "the first start wrote no $settings"
fi
wait_until 30 list_filled "$main" || fail "the fault list stayed empty"
plot_shown "$main"
# A message box from plot (a file it cannot open) would be a Qt window besides the main window.
menu_open "$main" && fail "plot showed a message: $(xdotool search --onlyvisible --classname tolvex |
    grep -vx "$main" | head -n 1 | xargs -r xdotool getwindowname)"
menu "$main" x
wait_for_exit "$pid"
status=$?
[ "$status" -eq 0 ] || fail "E&xit: exit status $status"
[ "$failures" -eq 0 ] || { cat "$work/out"; exit 1; }
echo "first start: wrote $settings, plotted the example in the viewer"
