#!/usr/bin/env bash
# Renders the committed pictures from their SVG sources: the logo as JPEG at 1x and 2x,
# and the application icon as PNG at every size the program and its package use.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
ensure_packages librsvg2-bin imagemagick

render_jpeg() {  # svg width height out.jpg
    rsvg-convert -w "$2" -h "$3" "$1" | convert png:- -background white -flatten -quality 92 \
        -strip "$4"
}
render_jpeg ui/art/logo.svg 100 41 ui/art/logo.jpg
render_jpeg ui/art/logo.svg 200 82 ui/art/logo@2x.jpg

for size in 16 24 32 48 64 96 128 256; do
    rsvg-convert -w "$size" -h "$size" app/icons/zentra-quota.svg -o "app/icons/zentra-quota-$size.png"
done

# Windows icons: the application icon with 13 images (16 and 256 colours at 48, 32, 24
# and 16 pixels; 32-bit colour at 128, 48, 32, 24 and 16) and the window icon with 6
# (256 colours and 32-bit colour at 48, 32 and 16).
ensure_packages icoutils
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48; do
    for colours in 16 256; do
        convert "app/icons/zentra-quota-$size.png" -background white -alpha remove -colors "$colours" \
            "PNG8:$work/c${colours}_$size.png"
    done
done
icotool -c -o app/windows/ZentraQuota.ico \
    -b 4 "$work"/c16_{48,32,24,16}.png \
    -b 8 "$work"/c256_{48,32,24,16}.png \
    -b 32 app/icons/zentra-quota-{128,48,32,24,16}.png
icotool -c -o app/windows/window.ico \
    -b 8 "$work"/c256_{48,32,16}.png \
    -b 32 app/icons/zentra-quota-{48,32,16}.png
