#!/usr/bin/env bash
# The real program, started as a user starts it, with a saved number: it checks it, the
# window is centred with its title bar, it closes through the window manager, the program
# ends with status 0 and leaves no process behind and nothing of the web engine's on disk,
# also after an earlier run was killed. Runs in a login-like session (a runtime folder)
# with a throwaway home folder mounted over the real one.
# Usage: lifecycle_test.sh <program> <demo server> <port>   (on a display of its own)
set -euo pipefail
program=$1 demo_server=$2 port=$3
. "$(dirname "$0")/../window_manager.sh"

[ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null || { echo "needs root for a private mount"; exit 77; }

work=$(mktemp -d)
marker="zentra-lifecycle-$$-$RANDOM"
cleanup() {
    kill "${wm:-}" "${server:-}" "${pid:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start_window_manager || fail "no window manager"
"$demo_server" --port "$port" >/dev/null &
server=$!

home=$(getent passwd "$(id -u)" | cut -d: -f6)
mkdir "$work/home"
printf ' 370370367036 \r\n' >"$work/home/setting.cfg"

mkdir -m 700 "$work/runtime"
start_program() {
    env ZENTRA_TEST_MARKER="$marker" XDG_RUNTIME_DIR="$work/runtime" \
        unshare -m sh -c 'mount --bind "$1" "$2" && exec "$3"' sh "$work/home" "$home" "$program" &
    pid=$!
    window=""
    # The window is shown as the program starts, before anything of the check's can take
    # time; a busy machine may still take seconds to get there.
    local deadline=$((SECONDS + 30))
    while [ -z "$window" ] && [ "$SECONDS" -lt "$deadline" ]; do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" && status=0 || status=$?; fail "the program ended, status $status, with no window"; }
        window=$(xdotool search --onlyvisible --name "Pengecekan Quota Zentra" 2>/dev/null | head -1) || true
        [ -n "$window" ] || sleep 0.05
    done
    [ -n "$window" ] || { show_program; fail "the window did not appear in 30 s"; }
}
show_program() {  # what the program was doing, and what the display held, for a failure
    ps -o pid,stat,wchan:24,etime,args --ppid "$pid" -p "$pid" >&2 || true
    for task in /proc/"$pid"/task/*; do echo "$task $(cat "$task/comm") $(cat "$task/wchan")"; done >&2 2>/dev/null || true
    xwininfo -root -tree | grep -v "has no name" | head -40 >&2 || true
}
launch_descriptions() {
    { find "$work/runtime/.flatpak" "$work/home/.cache/.flatpak" -mindepth 1 -maxdepth 1 2>/dev/null || true; } | wc -l
}

# A run killed during its check leaves the web engine's launch descriptions behind.
start_program
sleep 3
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
sleep 0.5
killed_left=$(launch_descriptions)
[ "$killed_left" -gt 0 ] || echo "note: the web engine runs unsandboxed here; no launch descriptions"

started=$(date +%s%N)
start_program
echo "window shown after $(( ($(date +%s%N) - started) / 1000000 )) ms"

# Centred with its decorations: the frame's outer edges leave equal margins. The program
# centres the window again once it learns the title bar's size, a moment after it appears.
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
frame_margins() {
    local x y w h fl fr ft fb
    read -r x y w h < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
    read -r fl fr ft fb < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed -n 's/.*= //; s/,//gp')
    [ -n "${fb:-}" ] || return 1
    left=$((x - fl)) top=$((y - ft)) right=$((screen_w - x - w - fr)) bottom=$((screen_h - y - h - fb))
}
centred() { [ $(( (left - right) ** 2 )) -le 4 ] && [ $(( (top - bottom) ** 2 )) -le 4 ]; }
for _ in $(seq 100); do frame_margins && centred && break; sleep 0.1; done
frame_margins || fail "the window manager gave the window no frame"
echo "frame margins: left $left, right $right, top $top, bottom $bottom"
[ $((left - right)) -le 2 ] && [ $((right - left)) -le 2 ] || fail "not centred across"
[ $((top - bottom)) -le 2 ] && [ $((bottom - top)) -le 2 ] || fail "not centred down (title bar left out)"
[ "$(xdotool getwindowname "$window")" = " Pengecekan Quota Zentra" ] || fail "title"

sleep 5  # the reveal comes at the fourth tick
children=$( (pgrep -P "$pid" || true) | wc -l)
[ "$children" -ge 1 ] || fail "no web engine process during the check"

close_window "Pengecekan Quota Zentra" || fail "the window could not be closed"
for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "still running 2 s after the window was closed"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"

sleep 1
left=$( (grep -l "ZENTRA_TEST_MARKER=$marker" /proc/[0-9]*/environ 2>/dev/null || true) | wc -l)
[ "$left" -eq 0 ] || fail "$left processes left behind"
[ "$(od -An -c "$work/home/setting.cfg" | tr -s ' ')" = " 3 7 0 3 7 0 3 6 7 0 3 6 \r \n" ] ||
    fail "the setting file changed"
# Nothing of the web engine's is left on disk. Two files belong to the libraries under it
# and are allowed: dconf's change-notification file (kept in the runtime folder when the
# session has one) and the graphics driver's shader cache index.
left_on_disk=$(cd "$work/home" && find . -type f ! -path ./setting.cfg ! -path ./.cache/dconf/user \
    ! -path ./.cache/mesa_shader_cache/index)
[ -z "$left_on_disk" ] || fail "left on disk: $left_on_disk"
[ "$(launch_descriptions)" -eq 0 ] || fail "launch descriptions left: $(find "$work/runtime" "$work/home/.cache" -path '*flatpak*')"
echo "PASS"
