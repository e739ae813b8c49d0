#!/usr/bin/env bash
# A staged install (DESTDIR) and the Debian package, checked as a user's system would see
# them. Usage: install_test.sh <build folder>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
id=example.zentraquota.ZentraQuota

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
stage=$work/stage/usr
[ -x "$stage/bin/ZentraQuota" ] || fail "no executable"
desktop-file-validate "$stage/share/applications/$id.desktop" || fail "desktop entry"
grep -qx "Name=Zentra Quota" "$stage/share/applications/$id.desktop" || fail "desktop entry name"
validation=$(appstreamcli validate --no-net "$stage/share/metainfo/$id.metainfo.xml" 2>&1) || fail "$validation"
! grep -qE "^(W|E):" <<<"$validation" || fail "metainfo warnings: $validation"
grep -q '<release version="1.00"' "$stage/share/metainfo/$id.metainfo.xml" || fail "release 1.00"
for size in 16 24 32 48 128; do
    icon="$stage/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "icon $size"
done
grep -q "<svg" "$stage/share/icons/hicolor/scalable/apps/$id.svg" || fail "scalable icon"
# The web view module, where the program looks for it (a folder relative to its own).
program_strings=$(strings "$stage/bin/ZentraQuota")
module_dir=$(grep -m1 -E '^/?\.\./.*zentra-quota$' <<<"$program_strings") || fail "no module folder in the program"
[ -f "$stage/bin/$module_dir/zentra_browser.so" ] || fail "the web view module is not at bin/$module_dir"
extra=$(cd "$stage" && find . -type f |
        grep -vE "^\./(bin/ZentraQuota|lib/(.*/)?zentra-quota/zentra_browser\.so|share/(applications|metainfo|icons)/)" |
        grep -vxE "\./share/(doc/zentra-quota/(copyright|changelog\.gz)|man/man1/ZentraQuota\.1\.gz)" || true)
[ -z "$extra" ] || fail "installed beyond the program: $extra"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null) || fail "cpack"
version=$(dpkg-deb -f "$(ls "$work"/deb/*.deb)" Version)
deb=$work/deb/zentra-quota_${version}_amd64.deb
[ -f "$deb" ] || fail "package file name: $(ls "$work"/deb)"
# The version names the release the package was built for, as its libraries' names differ.
. /etc/os-release
case "$ID" in
    debian) [ "$version" = "1.00+deb${VERSION_ID%%.*}" ] || fail "package version $version on Debian $VERSION_ID" ;;
    *) [ "${version%%+*}" = "1.00" ] || fail "package version $version" ;;
esac
# Every library the program and its module link, by the package that has it here, and the
# font and libc besides.
depends=$(dpkg-deb -f "$deb" Depends)
depends_on=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ :].*//')  # the package names alone
linked=$(for elf in "$stage/bin/ZentraQuota" "$stage"/lib/*/zentra-quota/zentra_browser.so "$stage"/lib/zentra-quota/zentra_browser.so; do
             [ ! -f "$elf" ] || objdump -p "$elf" | awk '$1 == "NEEDED" { print $2 }'
         done | sort -u)
[ -n "$linked" ] || fail "no linked libraries found"
libraries=$(ldconfig -p)
for soname in $linked; do
    path=$(awk -v lib="$soname" '$1 == lib && /x86-64/ && !found++ { print $NF }' <<<"$libraries")
    [ -n "$path" ] || fail "$soname is not installed"
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "$path" 2>/dev/null) || fail "no package has $path"
    owner=${owner%%:*}
    grep -qxF "$owner" <<<"$depends_on" || fail "the package does not depend on $owner ($soname): $depends"
done
for needed in fonts-liberation2 libc6; do
    grep -qxF "$needed" <<<"$depends_on" || fail "the package does not depend on $needed: $depends"
done
contents=$(dpkg-deb -c "$deb")
grep -q "\./usr/bin/ZentraQuota$" <<<"$contents" || fail "package contents"
grep -q "/zentra-quota/zentra_browser\.so$" <<<"$contents" || fail "package lacks the web view module"
# Debian's own checks (the manual page's roff among them), at their default level: not
# one error or warning.
if command -v lintian >/dev/null; then
    report=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "running with root privileges" || true)
    ! grep -qE "^(E|W):" <<<"$report" || fail "lintian: $report"
else
    fail "lintian is missing"
fi
echo "PASS"
