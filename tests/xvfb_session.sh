# Sourced by the window tests: starts a private Xvfb, exports DISPLAY and removes both the
# server and the scratch folder $work on exit. Exits 77 (skipped) when Xvfb is not installed.
if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
fi
for tool in xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 1; }
done

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Waits up to 10 s for process $1 to end; returns its exit status, or 124 if it had to be killed.
wait_for_exit() {
    local waited=0
    while kill -0 "$1" 2>/dev/null && [ "$waited" -lt 100 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$1" 2>/dev/null; then
        kill "$1"
        wait "$1"
        return 124
    fi
    wait "$1"
}

# Fails unless process $1 stays idle for a second: a busy loop would use about 100 ticks.
check_idle() {
    local before after
    before=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    sleep 1
    after=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    [ $((after - before)) -le 10 ] || fail "$2: $((after - before)) CPU ticks while idle"
}
