#!/usr/bin/env bash
# The packages built again as another builder would: the checkout in another folder, umask
# 002, another time zone and locale, the commit's time passed as SOURCE_DATE_EPOCH. The two
# builds must give the same bytes.
#   reproducible_test.sh deb <the .deb built from this checkout>   (one build job; lintian too)
#   reproducible_test.sh windows <scripts/build-windows.sh's output folder>
# The other checkout and its build folders are kept in .cache/reproducible, so that a later
# run is quick.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
kind=$1
first=$(readlink -f "$2")
fail() { echo "FAIL: $*" >&2; exit 1; }
copy=$root/.cache/reproducible/another-checkout
mkdir -p "$copy"
# The checkout's own files, as they are now, with their times (so that the kept builds are
# incremental), and none of its build folders; files the checkout no longer has are removed.
list() { git -c safe.directory='*' -C "$root" ls-files "$@" --cached --others --exclude-standard; }
list -z | tar -C "$root" --ignore-failed-read --null -T - -cf - 2>/dev/null | tar -C "$copy" -xf -
comm -23 <(cd "$copy" && find . -path './build*' -prune -o -type f -print | sed 's|^\./||' | sort) <(list | sort) |
    (cd "$copy" && xargs -r -d '\n' rm -f --)

same() {  # first file, second file
    cmp -s "$1" "$2" && return 0
    echo "They differ: $1 $2" >&2
    if command -v diffoscope >/dev/null; then
        diffoscope "$1" "$2" >&2 || true
    else
        cmp -l "$1" "$2" | head -20 >&2 || true
        case $1 in *.deb)
            diff <(dpkg-deb -c "$1") <(dpkg-deb -c "$2") >&2 || true
            diff <(dpkg-deb -I "$1") <(dpkg-deb -I "$2") >&2 || true ;;
        esac
    fi
    return 1
}

epoch=$(git -c safe.directory='*' -C "$root" log -1 --format=%ct)
builder() { umask 002; env TZ=Asia/Jakarta LC_ALL=C SOURCE_DATE_EPOCH="$epoch" "$@"; }
case $kind in
    deb)
        (cd "$copy" && builder sh -c 'cmake -S . -B build -DZENTRA_BUILD_TESTS=OFF >/dev/null &&
             cmake --build build -j1 >/dev/null && cd build && rm -f zentra-quota_*.deb && cpack -G DEB >/dev/null')
        second=$(ls "$copy"/build/zentra-quota_*.deb)
        same "$first" "$second" || fail "the Debian package does not reproduce"
        report=$(lintian --tag-display-limit 0 "$second" 2>&1 | grep -v "running with root privileges" || true)
        ! grep -qE "^(E|W):" <<<"$report" || fail "lintian, built with umask 002: $report"
        echo "The Debian package reproduces: $(sha256sum "$first" | cut -d' ' -f1)"
        ;;
    windows)
        # From the same cached toolkit.
        builder env ZENTRA_WINDOWS_CACHE="$root/.cache/windows" ZENTRA_WINDOWS_BUILD="$copy/build-windows" \
            "$copy/scripts/build-windows.sh" "$copy/build-windows/out" >/dev/null
        for file in ZentraQuota.exe zentra-quota-1.00-win64.zip zentra-quota-1.00-win64.exe; do
            same "$first/$file" "$copy/build-windows/out/$file" || fail "$file does not reproduce"
            echo "$file reproduces: $(sha256sum "$first/$file" | cut -d' ' -f1)"
        done
        ;;
    *) fail "usage: $0 deb|windows PATH" ;;
esac
