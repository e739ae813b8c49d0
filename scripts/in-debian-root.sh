#!/usr/bin/env bash
# Runs a command, by default the whole ./test, in a root of another Debian release (12 or
# 13) made from Debian's archive, with a copy of this checkout in /src. Needs root.
#   scripts/in-debian-root.sh [--cached] RELEASE [COMMAND...]
# Without --cached the root is new and removed afterwards (ZENTRA_KEEP_ROOT=1 keeps it);
# with it the root lives in .cache/debian-RELEASE/ and keeps its packages and build folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/ensure-packages.sh"
. "$root/scripts/debian-root.sh"
cached=
[ "${1:-}" != --cached ] || { cached=1; shift; }
[ $# -ge 1 ] || { echo "usage: $0 [--cached] RELEASE [COMMAND...]" >&2; exit 2; }
release=$1
shift
[ $# -ge 1 ] || set -- ./test
debian_codename "$release" >/dev/null

if [ -n "$cached" ]; then
    dir=$root/.cache/debian-$release/root
    [ -x "$dir/usr/bin/apt-get" ] || { rm -rf "$dir"; make_debian_root "$release" "$dir"; }
else
    mkdir -p "$root/.cache/fresh-roots"
    dir=$(mktemp -d "$root/.cache/fresh-roots/debian-$release-XXXXXX")
    [ -n "${ZENTRA_KEEP_ROOT:-}" ] || trap 'rm -rf "$dir"' EXIT
    make_debian_root "$release" "$dir"
    echo "== A fresh Debian $release root: $dir"
fi
copy_tree_into_root "$dir"
in_debian_root "$dir" "$@"
