#!/usr/bin/env bash
# Makes the README's screenshots from the real program on a virtual display, against the
# demo usage server. The program runs with a throwaway home folder (a private mount over
# the real one, so root only), so your own setting file is neither read nor changed.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libcpp-httplib-dev xvfb xauth x11-apps imagemagick xdotool

port=47081
cmake --preset screenshots >/dev/null
cmake --build build-shots -j "$(nproc)" --target ZentraQuota demo_usage_server >/dev/null

work=$(mktemp -d)
cleanup() {
    kill "${program:-}" "${server:-}" "${xvfb:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=:$((90 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
./build-shots/demo_usage_server --port "$port" >/dev/null &
server=$!
sleep 1

home=$(getent passwd "$(id -u)" | cut -d: -f6)
mkdir -p "$work/home"
unshare -m sh -c 'mount --bind "$1" "$2" && exec "$3"' sh "$work/home" "$home" \
    "$PWD/build-shots/ZentraQuota" &
program=$!

window=""
for _ in $(seq 100); do
    window=$(xdotool search --name "Pengecekan Quota Zentra" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "The window did not appear." >&2; exit 1; }
sleep 1
xwd -id "$window" -silent | convert xwd:- docs/screenshot-entry.png

xdotool mousemove --window "$window" 20 20 type --delay 40 123456789012
xdotool key alt+s
sleep 6
xwd -id "$window" -silent | convert xwd:- docs/screenshot-usage.png
echo "Wrote docs/screenshot-entry.png and docs/screenshot-usage.png"
