#!/usr/bin/env bash
# The Debian package rebuilt as another builder would: the checkout in another folder, umask
# 002, another time zone and locale, one build job, the commit's time passed as
# SOURCE_DATE_EPOCH; the two packages must be the same, byte for byte, and the second as
# clean for lintian. Usage: reproducible_deb_test.sh <package built from this checkout>
# The second build folder is kept in .cache/reproducible, so that a later run is quick.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
first=$(readlink -f "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }
copy=$root/.cache/reproducible/another-checkout
mkdir -p "$copy"
# The checkout's own files, as they are now, with their times (so that the kept build is
# incremental), and none of its build folders; files the checkout no longer has are removed.
list() { git -c safe.directory='*' -C "$root" ls-files "$@" --cached --others --exclude-standard; }
list -z | tar -C "$root" --ignore-failed-read --null -T - -cf - 2>/dev/null | tar -C "$copy" -xf -
comm -23 <(cd "$copy" && find . -path ./build -prune -o -type f -print | sed 's|^\./||' | sort) <(list | sort) |
    (cd "$copy" && xargs -r -d '\n' rm -f --)

epoch=$(git -c safe.directory='*' -C "$root" log -1 --format=%ct)
(
    umask 002
    export TZ=Asia/Jakarta LC_ALL=C SOURCE_DATE_EPOCH=$epoch
    cd "$copy"
    cmake -S . -B build -DZENTRA_BUILD_TESTS=OFF >/dev/null
    cmake --build build -j1 >/dev/null
    cd build && rm -f zentra-quota_*.deb && cpack -G DEB >/dev/null
)
second=$(ls "$copy"/build/zentra-quota_*.deb)
if ! cmp -s "$first" "$second"; then
    echo "The two packages differ: $first $second" >&2
    if command -v diffoscope >/dev/null; then
        diffoscope "$first" "$second" >&2 || true
    else
        cmp -l "$first" "$second" | head -20 >&2 || true
        diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") >&2 || true
        diff <(dpkg-deb -I "$first") <(dpkg-deb -I "$second") >&2 || true
    fi
    fail "not reproducible"
fi
report=$(lintian --tag-display-limit 0 "$second" 2>&1 | grep -v "running with root privileges" || true)
! grep -qE "^(E|W):" <<<"$report" || fail "lintian, built with umask 002: $report"
echo "The package reproduces: $(sha256sum "$first" | cut -d' ' -f1)"
