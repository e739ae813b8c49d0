#!/usr/bin/env bash
# The Windows program's window under Wine at 96, 120, 144 and 192 DPI, and with the
# message font at 125 % and 150 %, measured on a screenshot: the client area, the margins
# around the panel in the dialog colour (none of the application workspace's grey), the
# logo filling its box, the panel's border lines whole, and the prompt inside them.
# Usage: look_test.sh <ZentraQuota.exe>
set -euo pipefail
exe=$1
command -v wine >/dev/null && command -v xdotool >/dev/null && command -v python3 >/dev/null ||
    { echo "SKIP: wine, xdotool or python3 is missing"; exit 77; }
. "$(dirname "$0")/wine_prefix.sh"

# Prints: client W H, margins left right bottom top, logo W H, the count of grey pixels,
# the rows where the panel's left and right border lines are missing, and the room left
# between the widest text, the prompt, and each border line.
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
# The border's side lines, and its top line where the caption does not cross it.
margin_left, margin_right = run(left, row, 1, 0), run(right - 1, row, -1, 0)
line_left, line_right = left + margin_left, right - 1 - margin_right
line_top = top + run(line_right - 2, top, 0, 1)
line_bottom = bottom - 1 - run(line_right - 2, bottom - 1, 0, -1)
missing = [sum(p(x, y) == face for y in range(line_top + 1, line_bottom)) for x in (line_left, line_right)]
# The top margin, to the first thing drawn: the caption, at the panel's top.
first = min(y for y in range(top, line_top + 1) for x in range(line_left, line_right) if p(x, y) != face)
# The prompt lies between the logo and the number box: the rows between the logo's bottom
# and the box's top, dark pixels only (the border lines are light grey).
logo_bottom = max(ys)
box_top = min(y for y in range(logo_bottom + 2, bottom) if min(p((left + right) // 2, y)) >= 250)
dark = [x for y in range(logo_bottom + 1, box_top) for x in range(line_left + 1, line_right) if max(p(x, y)) < 0x80]
print(right - left, bottom - top, margin_left, margin_right, run(left + (right - left) // 4, bottom - 1, 0, -1),
      first - top, max(xs) - min(xs) + 1, max(ys) - min(ys) + 1, grey,
      missing[0], missing[1], min(dark) - line_left - 1, line_right - max(dark) - 1)
PY
}

# The message font (Tahoma) at a height in pixels, as Windows' text size setting sets it.
set_message_font() {  # pixels
    python3 - "$1" >"$work/font.reg" <<'PY'
import struct, sys
font = struct.pack("<5l8B", -int(sys.argv[1]), 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0)
font += "Tahoma".encode("utf-16-le").ljust(64, b"\0")
print("REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]")
print('"MessageFont"=hex:' + ",".join("%02x" % b for b in font))
PY
    wine regedit "$work/font.reg" >/dev/null 2>&1
    wineserver -w
}

shoot() {  # DPI; measures the window as it comes up
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
    wine "$exe" >/dev/null 2>&1 &
    local window=
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name "Pengecekan Quota Zentra" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window at $1 DPI"
    sleep 1.5  # drawn
    xwd -id "$window" -silent | convert xwd:- -depth 8 "rgb:$work/shot.rgb"
    local size
    size=$(xwd -id "$window" -silent | convert xwd:- -format "%w %h" info:)
    wineserver -k
    measure "$work/shot.rgb" $size
}

# Whatever the size: no grey, the border's lines whole, the prompt inside them.
check_whole() {  # what: the measures
    local what=$1 grey=${10} missing_left=${11} missing_right=${12} room_left=${13} room_right=${14}
    echo "$what: client $2 x $3, margins (left right bottom top) $4 $5 $6 $7, logo $8 x $9, grey pixels $grey," \
         "border rows missing (left right) $missing_left $missing_right, prompt to the border (left right) $room_left $room_right"
    [ "$grey" -eq 0 ] || fail "$what: $grey pixels of the workspace grey"
    [ "$missing_left" -eq 0 ] && [ "$missing_right" -eq 0 ] || fail "$what: the border's side lines are broken"
    [ "$room_left" -ge 1 ] && [ "$room_right" -ge 1 ] || fail "$what: the prompt touches the border"
}
check_at() {  # DPI, then the expected: client W H, margins left right bottom top, logo W H
    local measured
    measured=$(shoot "$1")
    # shellcheck disable=SC2086
    check_whole "$1 DPI" $measured
    read -r -a got <<<"$measured"
    [ "${got[*]:0:8}" = "${*:2}" ] || fail "at $1 DPI expected ${*:2}"
}
check_font() {  # pixels, percent of the default, the least client width
    set_message_font "$1"
    local measured
    measured=$(shoot 96)
    # shellcheck disable=SC2086
    check_whole "96 DPI, message font $1 px ($2 %)" $measured
    read -r -a got <<<"$measured"
    [ "${got[0]}" -ge "$3" ] || fail "the window did not grow with the message font"
}
rm -f "$WINEPREFIX/drive_c/setting.cfg"
# The top margin runs to the caption's first drawn row: the panel's own (16 px at 96 DPI)
# and the room the font keeps above its capitals.
check_at 96 201 427 8 8 10 18 100 41
check_at 120 251 534 10 10 13 23 125 51
check_at 144 302 641 12 12 15 27 150 62
check_at 192 402 854 16 16 20 37 200 82
# Windows' text size: the message font at 125 % and 150 % of its default 11 px. The
# prompt still fits the designed width at 125 %; at 150 % the window grows.
check_font 14 125 201
check_font 17 150 202
echo "PASS"
