#!/usr/bin/env bash
# The Windows resource script compiles with the MinGW resource compiler, and the icons hold
# the images they should. Usage: windows_resources_test.sh <source folder>
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$source/app/windows"
x86_64-w64-mingw32-windres --preprocessor=cpp -i ZentraQuota.rc -o "$work/ZentraQuota.res" -O coff ||
    fail "the resource script does not compile"
x86_64-w64-mingw32-windres -J coff -i "$work/ZentraQuota.res" -O rc -o "$work/back.rc"
for value in '"ProductName", "Zentra Quota' '"FileVersion", "1.00' '"ProductVersion", "1.00' \
             '"OriginalFilename", "ZentraQuota.exe'; do
    grep -q "$value" "$work/back.rc" || fail "version information lacks $value"
done
[ "$(grep -c 'RT_ICON \*/' "$work/back.rc")" -eq 19 ] || fail "expected 13 + 6 icon images"
[ "$(grep -c 'RT_GROUP_ICON' "$work/back.rc")" -eq 2 ] || fail "expected two icons"
grep -q 'RT_MANIFEST' "$work/back.rc" || fail "no manifest"
grep -q 'PerMonitorV2' ZentraQuota.manifest || fail "no per-monitor DPI awareness"
[ "$(identify ZentraQuota.ico | wc -l)" -eq 13 ] || fail "application icon images"
[ "$(identify window.ico | wc -l)" -eq 6 ] || fail "window icon images"
echo "PASS"
