#!/usr/bin/env bash
# The Windows program's window under Wine at 96 and at 144 DPI (100 % and 150 %), measured
# on a screenshot: the client area, the margins around the panel in the dialog colour
# (none of the application workspace's grey), and the logo filling its box.
# Usage: look_test.sh <ZentraQuota.exe>
set -euo pipefail
exe=$1
command -v wine >/dev/null && command -v xdotool >/dev/null && command -v python3 >/dev/null ||
    { echo "SKIP: wine, xdotool or python3 is missing"; exit 77; }
. "$(dirname "$0")/wine_prefix.sh"

# Prints: client W H, margins left right bottom, logo W H, and the count of grey pixels.
measure() {
    python3 - "$@" <<'PY'
import sys
pixels, w, h = open(sys.argv[1], "rb").read(), int(sys.argv[2]), int(sys.argv[3])
p = lambda x, y: pixels[(y * w + x) * 3:(y * w + x) * 3 + 3]
# Wine draws a tool window's frame itself: 3 px at the sides and the bottom; at the top
# 3 px, the caption, and one line below it.
top = 3
while p(w - 40, top) == p(w - 40, 3): top += 1
left, top, right, bottom = 3, top + 1, w - 3, h - 3
face = p((left + right) // 2, bottom - 2)
def run(x, y, dx, dy):
    n = 0
    while p(x + n * dx, y + n * dy) == face: n += 1
    return n
row = top + (bottom - top) * 4 // 5
grey = sum(p(x, y) == b"\x80\x80\x80" for y in range(top, bottom) for x in range(left, right))
white = [(x, y) for y in range(top, top + (bottom - top) // 3) for x in range(left, right) if min(p(x, y)) >= 250]
xs, ys = [x for x, _ in white], [y for _, y in white]
print(right - left, bottom - top, run(left, row, 1, 0), run(right - 1, row, -1, 0),
      run(left + (right - left) // 4, bottom - 1, 0, -1),
      max(xs) - min(xs) + 1, max(ys) - min(ys) + 1, grey)
PY
}

check_at() {  # DPI, then the expected: client W H, margins left right bottom, logo W H
    local dpi=$1 expected="${*:2} 0"
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    wine "$exe" >/dev/null 2>&1 &
    local window=
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name "Pengecekan Quota Zentra" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window at $dpi DPI"
    sleep 1.5  # drawn
    xwd -id "$window" -silent | convert xwd:- -depth 8 "rgb:$work/shot.rgb"
    local size
    size=$(xwd -id "$window" -silent | convert xwd:- -format "%w %h" info:)
    wineserver -k
    local measured
    measured=$(measure "$work/shot.rgb" $size)
    echo "$dpi DPI: client, margins (left right bottom), logo, grey pixels: $measured"
    [ "$measured" = "$expected" ] || fail "at $dpi DPI expected $expected"
}
rm -f "$WINEPREFIX/drive_c/setting.cfg"
check_at 96 201 427 8 8 10 100 41
check_at 144 302 641 12 12 15 150 62
echo "PASS"
