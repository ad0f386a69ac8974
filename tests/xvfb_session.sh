# Sourced by the window tests: starts a private Xvfb, exports DISPLAY and removes both the
# server and the scratch folder $work on exit. Exits 77 (skipped) when Xvfb is not installed.
# Waits go through wait_until, which polls for the state a step needs instead of pausing.
if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi
for tool in xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 1; }
done

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds (status 0), or
# gives up after SECONDS (status 1). The deadlines are generous: a loaded machine only takes
# longer, it does not fail.
wait_until() {
    local now end
    now=${EPOCHREALTIME/[.,]/}
    end=$((now + $1 * 1000000))
    shift
    until "$@"; do
        now=${EPOCHREALTIME/[.,]/}
        [ "$now" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Prints the first visible window that xdotool search finds with the given arguments; fails when
# there is none. A search can die of a window that vanishes while it looks: that is a miss too.
visible_window() { xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1 | grep .; }

work=$(mktemp -d)
# No reset when the last client leaves: a program's own connection check must not race one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
wait_until 30 test -s "$work/display" || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits up to 30 s for process $1 to end; returns its exit status, or 124 if it had to be killed.
wait_for_exit() {
    if ! wait_until 30 ended "$1"; then
        kill "$1"
        wait "$1"
        return 124
    fi
    wait "$1"
}

# Fails unless process $1 stays idle over 0.4 s: a busy loop would use about 40 ticks, still 20
# on a core it shares. (This pause is the measurement itself, not a wait for something to happen.)
check_idle() {
    local before after
    before=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    sleep 0.4
    after=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    [ $((after - before)) -le 8 ] || fail "$2: $((after - before)) CPU ticks while idle"
}
