#!/usr/bin/env bash
# The Windows libraries' cache, copied to another folder as a moved checkout would have it:
# the build script must take it as it is (no rebuild), point it at its new place, and
# configure the program against it.
# Usage: moved_cache_test.sh <the cached wxWidgets prefix>
set -euo pipefail
prefix=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir "$work/cache"
cp -a "$prefix" "$work/cache/"
ln -s "$(dirname "$prefix")/src" "$work/cache/src"
output=$(ZENTRA_WINDOWS_CACHE="$work/cache" ZENTRA_WINDOWS_BUILD="$work/build" ZENTRA_WINDOWS_CONFIGURE_ONLY=1 \
         "$root/scripts/build-windows.sh" "$work/out" 2>&1) || fail "the build script failed: $output"
moved=$work/cache/$(basename "$prefix")
! grep -q "== wxWidgets" <<<"$output" || fail "the cache was rebuilt: $output"
grep -q "moved here" <<<"$output" || fail "the cache was not moved: $output"
[ "$("$moved/bin/wx-config" --prefix)" = "$moved" ] || fail "wx-config still names $("$moved/bin/wx-config" --prefix)"
! grep -rlF "$prefix/" "$moved"/lib/wx/config "$moved"/lib/pkgconfig "$moved"/bin "$work/build/CMakeCache.txt" ||
    fail "the old folder is still named in the files above"
echo "PASS"
