#!/usr/bin/env bash
# Renders the committed pictures from their SVG sources: the logo as pixels at 1x and 2x,
# and the application icon as PNG at every size the package uses, and as pixels at the
# window's sizes.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
ensure_packages librsvg2-bin imagemagick

# The window's pictures are compiled in as plain 8-bit pixels, so that its start decodes
# nothing: the logo as RGB on white at 1x and 2x, the window icons as RGBA.
render_logo() {  # width height out.rgb
    rsvg-convert -w "$1" -h "$2" ui/art/logo.svg | convert png:- -background white -flatten -depth 8 "rgb:$3"
}
render_logo 100 41 ui/art/logo.rgb
render_logo 200 82 ui/art/logo@2x.rgb

for size in 16 24 32 48 64 96 128 256; do
    rsvg-convert -w "$size" -h "$size" app/icons/zentra-quota.svg -o "app/icons/zentra-quota-$size.png"
done
for size in 16 32 48; do
    convert "app/icons/zentra-quota-$size.png" -depth 8 "rgba:app/icons/zentra-quota-$size.rgba"
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
