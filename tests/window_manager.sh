# Sourced by the tests that need a window manager on their display. Starts openbox and
# returns once it manages the screen: a window mapped before that is adopted, not given
# the focus, and has no frame. Sets wm to its process. The display's server must not reset
# (Xvfb -noreset): the probes below come and go before the manager has connected.
start_window_manager() {
    local said deadline=$((SECONDS + 30))
    said=$(mktemp)
    openbox >"$said" 2>&1 &
    wm=$!
    # It names itself before it lists the screen's windows; both are needed.
    until wmctrl -m >/dev/null 2>&1 && wmctrl -l >/dev/null 2>&1; do
        if ! kill -0 "$wm" 2>/dev/null; then
            local status=0
            wait "$wm" || status=$?
            echo "the window manager ended at its start (status $status) on display $DISPLAY, saying:" >&2
            cat "$said" >&2
            xdpyinfo 2>&1 | head -3 >&2 || true
            rm -f "$said"
            return 1
        fi
        [ "$SECONDS" -lt "$deadline" ] || { echo "the window manager did not start in 30 s" >&2; rm -f "$said"; return 1; }
        sleep 0.05
    done
    rm -f "$said"
}

# Closes a window as a user does, through the window manager, once the manager has taken it
# in: a window that was there before the manager started is adopted a moment after it starts.
close_window() {  # title
    local deadline=$((SECONDS + 30))
    until wmctrl -l 2>/dev/null | grep -qF -- "$1"; do
        [ "$SECONDS" -lt "$deadline" ] || { echo "the window manager never listed \"$1\"" >&2; return 1; }
        sleep 0.05
    done
    wmctrl -c "$1"
}
