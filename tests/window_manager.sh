# Sourced by the tests that need a window manager on their display. Starts openbox and
# returns once it manages the screen: a window mapped before that is adopted, not given
# the focus, and has no frame. Sets wm to its process.
start_window_manager() {
    openbox >/dev/null 2>&1 &
    wm=$!
    local deadline=$((SECONDS + 30))
    until wmctrl -m >/dev/null 2>&1; do
        kill -0 "$wm" 2>/dev/null || { echo "the window manager ended at its start" >&2; return 1; }
        [ "$SECONDS" -lt "$deadline" ] || { echo "the window manager did not start in 30 s" >&2; return 1; }
        sleep 0.05
    done
}
