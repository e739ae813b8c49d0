#!/usr/bin/env bash
# Runs a command as a native client of a Wayland session: weston's X11 backend nested in a
# virtual X server of its own, whose keyboard and pointer are weston's seat. The command
# gets WAYLAND_DISPLAY and a private runtime folder, and no DISPLAY; ZQ_SEAT_DISPLAY names
# the X display that feeds the seat (for xdotool), ZQ_SEAT_SCALE the output's scale.
# Usage: in_wayland_session.sh [--scale=N] COMMAND...
set -euo pipefail
scale=1
case "${1:-}" in --scale=*) scale=${1#--scale=}; shift ;; esac

work=$(mktemp -d)
cleanup() {
    kill "${weston:-}" 2>/dev/null || true
    wait "${weston:-}" 2>/dev/null || true
    kill "${xvfb:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The X server picks a display number that no other run holds.
Xvfb -displayfd 3 -screen 0 "$((1024 * scale))x$((768 * scale))x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=":$(head -1 "$work/display")"

# A black desktop without a panel: the window is then the only thing on the output. Keys do
# not repeat: the toolkit repeats a key itself on Wayland, and a test process slowed down
# between a key's press and its release typed it twice.
cat >"$work/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xff000000
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
[keyboard]
repeat-rate=0
EOF
mkdir -m 700 "$work/runtime"
socket="zq-wayland-$$"
XDG_RUNTIME_DIR="$work/runtime" DISPLAY="$display" \
    weston --config="$work/weston.ini" --backend=x11-backend.so --use-pixman --socket="$socket" \
    --width=1024 --height=768 --scale="$scale" >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 200); do [ -S "$work/runtime/$socket" ] && break; sleep 0.05; done
[ -S "$work/runtime/$socket" ] || { cat "$work/weston.log" >&2; exit 1; }
sleep 0.5  # the shell client draws the desktop

status=0
env -u DISPLAY XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY="$socket" GDK_BACKEND=wayland \
    ZQ_SEAT_DISPLAY="$display" ZQ_SEAT_SCALE="$scale" "$@" || status=$?
exit "$status"
