#!/usr/bin/env bash
# The desktop program without a display: one line on standard error naming what is missing and
# status 1, where Qt would abort with advice to reinstall.
# usage: no_display.sh TOLVEX_PROGRAM
set -u
program=$1
failed=0
check() { # check DISPLAY_SETTING...: runs the program without a display in the given environment
    local err status
    err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 20 "$program" 2>&1 >/dev/null)
    status=$?
    if [ "$status" -ne 1 ] || [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ] ||
        [[ "$err" != "tolvex: no display: "* ]]; then
        echo "FAIL with $*: status $status, standard error:"
        printf '%s\n' "$err"
        failed=1
    fi
}
check -u DISPLAY
check DISPLAY=:4711
exit "$failed"
