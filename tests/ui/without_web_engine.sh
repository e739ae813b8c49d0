#!/bin/sh
# Runs the window tests' program from a folder of its own, where the browser module is
# missing or is not a library, on a virtual display.
# Usage: without_web_engine.sh <ui_tests> Missing|Broken <xvfb-run>
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$1" "$dir/"
[ "$2" = Broken ] && head -c 4096 /dev/urandom >"$dir/zentra_browser.so"
"$3" -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$dir/$(basename "$1")" \
    --gtest_filter='BrowserArea.WithoutAWorkingWebEngine*'
