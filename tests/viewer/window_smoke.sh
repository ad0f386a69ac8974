#!/usr/bin/env bash
# Smoke test of the real viewer window under a private Xvfb: the window titled "tolvex" appears
# and shows the model, "s" saves the view as PNG, space plays the steps on GLUT's timer, "q", Esc
# and the window's close request each close it and hand control back, so the program returns
# from main with status 0 through the normal exit path, and the program uses no CPU while idle,
# with GLUT's loop and with a poll() loop driving it. Exits 77 (skipped) when Xvfb is not installed.
# usage: window_smoke.sh SMOKE_PROGRAM WINDOW_PROBE_PROGRAM
set -u
smoke=$1
probe=$2

. "$(dirname "$0")/../xvfb_session.sh"

# The window shows the scene; its pixel counts stay in $work/scene.
scene_shown() { "$probe" scene "$1" >"$work/scene"; }
white_pixels() { awk '{ print $3 } END { if (NR == 0) print 0 }' "$work/scene"; }
# The scene in window $1 shows fewer than $2 white pixels.
whites_below() {
    scene_shown "$1"
    [ "$(white_pixels)" -lt "$2" ]
}

# The scene in window $1 shows more than $2 white pixels.
whites_above() {
    scene_shown "$1"
    [ "$(white_pixels)" -gt "$2" ]
}

# Starts the viewer in the given mode, waits for its window, checks it idles, ends it with
# the given action and checks the exit. mode: "" or --pump; action: a key name or "close".
run_case() {
    local mode=$1 action=$2
    local label="${mode:-glutMainLoop} / $action"
    # Pictures saved with "s" land in the current folder.
    (cd "$work" && exec "$smoke" $mode) >"$work/out" 2>"$work/err" &
    local pid=$!
    local window
    window=$(wait_until 30 visible_window --name '^tolvex$')
    if [ -z "$window" ]; then
        fail "$label: no window titled tolvex"
        kill "$pid" 2>/dev/null
        wait "$pid"
        cat "$work/err"
        return
    fi
    xwininfo -name tolvex | grep -q 'Map State: IsViewable' || fail "$label: window not viewable"

    if ! wait_until 30 scene_shown "$window"; then
        fail "$label: the window does not show the cube, tracers and axes: $(cat "$work/scene")"
    elif [ "$action" = q ]; then
        # A plain drag down by half the height doubles the eye distance: fewer white pixels.
        local white_before
        white_before=$(white_pixels)
        xdotool mousemove --window "$window" 300 100 mousedown 1 \
            mousemove --window "$window" 300 340 mouseup 1
        wait_until 30 whites_below "$window" $((white_before / 2))
        echo "$label: zoom drag: $white_before -> $(white_pixels) white pixels"
        [ "$(white_pixels)" -lt $((white_before / 2)) ] ||
            fail "$label: zoom drag left $(white_pixels) of $white_before white pixels"
    fi
    if [ "$action" = Escape ]; then
        # Page Up steps back from the two cubes the window opens on to the one before.
        local white_last
        white_last=$(white_pixels)
        xdotool windowfocus --sync "$window" key Prior
        wait_until 30 whites_below "$window" "$white_last"
        echo "$label: Page Up: $white_last -> $(white_pixels) white pixels"
        [ "$(white_pixels)" -lt "$white_last" ] || fail "$label: Page Up did not step back"
        xdotool windowfocus --sync "$window" key s
        wait_until 30 test -s "$work/viewer_smoke_forward_0.png" || fail "$label: s saved no picture"
        # Space plays on from step 0: the timer brings the second cube back.
        xdotool windowfocus --sync "$window" key space
        wait_until 30 whites_above "$window" "$(white_pixels)" || fail "$label: space did not play"
    fi
    check_idle "$pid" "$label"

    if [ "$action" = close ]; then
        "$probe" close "$window"
    else
        xdotool windowfocus --sync "$window" key "$action"
    fi
    wait_for_exit "$pid"
    local status=$?
    [ "$status" -eq 124 ] && fail "$label: still running"
    [ "$status" -eq 0 ] || fail "$label: exit status $status"
    grep -q 'exit handlers ran' "$work/out" || fail "$label: exit handlers did not run"
    [ "$status" -eq 0 ] || cat "$work/err"
    echo "done: $label"
}

for mode in "" --pump; do
    env -u DISPLAY "$smoke" $mode >/dev/null 2>&1
    status=$?
    [ "$status" -eq 2 ] || fail "${mode:-glutMainLoop} without a display: status $status, wanted 2"
done

run_case "" q
run_case "" Escape
run_case "" close
run_case --pump q
run_case --pump close

[ "$failures" -eq 0 ] || exit 1
echo "all viewer window checks passed"
