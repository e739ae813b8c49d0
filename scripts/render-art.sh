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
