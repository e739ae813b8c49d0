#!/usr/bin/env bash
# The Windows program under Wine, driven with real input on a virtual display: the window
# and its title, the message box for a short number, the saved file's exact bytes, the
# request the usage server receives, the saved-number start, and a clean exit.
# Usage: program_test.sh <ZentraQuota.exe built for 127.0.0.1:port> <port>
set -euo pipefail
exe=$1 port=$2
command -v wine >/dev/null && command -v xdotool >/dev/null && command -v python3 >/dev/null  ||
    { echo "SKIP: wine, xdotool, openbox, wmctrl or python3 is missing"; exit 77; }
. "$(dirname "$0")/wine_prefix.sh"
. "$(dirname "$0")/../window_manager.sh"
on_exit() { kill "${server:-}" "${wm:-}" 2>/dev/null || true; }

# A usage server that writes down each request's target.
python3 - "$port" "$work/requests" <<'PY' &
import http.server, sys
port, log = int(sys.argv[1]), sys.argv[2]
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(log, "a") as out: out.write(self.path + "\n")
        body = b"<html><body>usage</body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args): pass
http.server.HTTPServer(("127.0.0.1", port), Handler).serve_forever()
PY
server=$!

wait_for_window() {  # name pattern; prints the window id
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 && return 0
        sleep 0.1
    done
    return 1
}
run_program() {
    wine "$exe" >/dev/null 2>&1 &
    pid=$!
    window=$(wait_for_window "Pengecekan Quota Zentra") || fail "the window did not appear"
    [ "$(xdotool getwindowname "$window")" = " Pengecekan Quota Zentra" ] || fail "title: $(xdotool getwindowname "$window")"
}
close_program() {  # as a user closes it: through a window manager's close button
    start_window_manager || fail "no window manager"
    close_window "Pengecekan Quota Zentra" || fail "the window could not be closed"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "still running 10 s after the window was closed"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
    kill "$wm"
    wait "$wm" 2>/dev/null || true
}

# Entry: a short number asks for twelve digits. (With no window manager the box does not
# get the keyboard, so this run ends here.)
run_program
xdotool type --delay 50 "12345"
xdotool key alt+s
wait_for_window "^Zentra Quota$" >/dev/null || fail "no message box titled Zentra Quota"
wineserver -k
wait "$pid" 2>/dev/null || true

# Twelve characters: the check saves three times the number and asks for its page.
run_program
xdotool type --delay 50 "123456789012"
xdotool key alt+s
setting=$WINEPREFIX/drive_c/setting.cfg
for _ in $(seq 100); do [ -s "$setting" ] && [ -s "$work/requests" ] && break; sleep 0.1; done
[ "$(od -An -c "$setting" | tr -s ' ')" = " 3 7 0 3 7 0 3 6 7 0 3 6 \r \n" ] ||
    fail "setting file: $(od -An -c "$setting")"
[ "$(cat "$work/requests")" = "/dev/ci/info/usage_bar_new/123456789012" ] ||
    fail "requests: $(cat "$work/requests")"
sleep 4.5  # the reveal at the fourth tick
close_program

# The next start checks the saved number at once.
run_program
for _ in $(seq 100); do [ "$(wc -l <"$work/requests")" -ge 2 ] && break; sleep 0.1; done
[ "$(sed -n 2p "$work/requests")" = "/dev/ci/info/usage_bar_new/123456789012" ] ||
    fail "no request at the saved-number start: $(cat "$work/requests")"
close_program
echo "PASS"
