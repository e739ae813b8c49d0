#!/usr/bin/env bash
# The Debian package as a user of that release gets it: installed with apt into a fresh
# root of the release it was built on, then started by an ordinary user, whose window must
# come up, asking for a number.
#   tests/packaging/fresh_install_test.sh PACKAGE.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
. "$root/scripts/ensure-packages.sh"
. "$root/scripts/debian-root.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }

version=$(dpkg-deb -f "$deb" Version)
release=${version##*+deb}
[ "$release" != "$version" ] || fail "$deb names no Debian release in its version ($version)"
mkdir -p "$root/.cache/fresh-roots"
dir=$(mktemp -d "$root/.cache/fresh-roots/install-$release-XXXXXX")
trap 'rm -rf "$dir"' EXIT
make_debian_root "$release" "$dir"
cp "$deb" "$dir/opt/"

in_debian_root "$dir" /bin/bash -c '
    set -euo pipefail
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q "/opt/$1" >/opt/apt.log 2>&1 || { tail -n 20 /opt/apt.log; exit 1; }
    echo "installed $1 with $(grep -c "^Setting up" /opt/apt.log) packages"
    # Only to see the window: a virtual display and a way to find the window on it.
    apt-get install -y -q --no-install-recommends xvfb xauth xdotool >/dev/null 2>&1
    useradd --create-home user
    setpriv --reuid=user --regid=user --init-groups env -i HOME=/home/user PATH=/usr/bin:/bin LANG=C.UTF-8 \
        xvfb-run -a -s "-noreset" sh -c "
            ZentraQuota & program=\$!
            for _ in \$(seq 300); do
                window=\$(xdotool search --onlyvisible --name \"Pengecekan Quota Zentra\" 2>/dev/null | head -n1)
                [ -n \"\$window\" ] && break
                sleep 0.1
            done
            [ -n \"\$window\" ] || { echo \"FAIL: the window did not come up\"; exit 1; }
            echo \"window up: \$(xdotool getwindowname \$window | sed s/^.//), \$(xdotool getwindowgeometry \$window | sed -n s/.*Geometry:.//p)\"
            kill \$program; wait \$program 2>/dev/null || true"
' sh "$(basename "$deb")"
echo "PASS"
