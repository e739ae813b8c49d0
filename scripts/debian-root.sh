# Sourced: a root of another Debian release, made from Debian's archive (the URIs of this
# machine's own apt configuration), for building and testing the project there.
#   make_debian_root RELEASE DIR    a new root (12 or 13), from a cached base when there is one
#   copy_tree_into_root DIR         the checkout's files to DIR/src (build folders kept)
#   in_debian_root DIR COMMAND...   runs COMMAND as root inside, in /src where it is
# Needs root: debootstrap, chroot and mounts.

debian_codename() {  # release number
    case $1 in
        12) echo bookworm ;;
        13) echo trixie ;;
        *) echo "Debian $1 is not one this project builds on (12 or 13)" >&2; return 1 ;;
    esac
}

# The archive and its security archive, as this machine's apt names them.
debian_archive_uris() {
    local files=(/etc/apt/sources.list.d/*.sources)
    local main security
    main=$(awk -v RS= '/Suites:[^\n]*/ && !/Suites:[^\n]*-security/' "${files[@]}" 2>/dev/null |
           sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' | head -n1)
    security=$(awk -v RS= '/Suites:[^\n]*-security/' "${files[@]}" 2>/dev/null |
               sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' | head -n1)
    if [ -z "$main" ] && [ -f /etc/apt/sources.list ]; then
        main=$(awk '$1 == "deb" && $3 !~ /-security/ { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' /etc/apt/sources.list)
        security=$(awk '$1 == "deb" && $3 ~ /-security/ { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' /etc/apt/sources.list)
    fi
    [ -n "$main" ] || { echo "No Debian archive in this machine's apt configuration" >&2; return 1; }
    echo "$main ${security:-}"
}

# A default install's sources: the release, its updates and its security archive.
write_root_sources() {  # dir codename main security
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    rm -f "$1/etc/apt/sources.list"
    {
        printf 'Types: deb\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: %s\n' "$3" "$2" "$2" "$keyring"
        [ -z "$4" ] || printf '\nTypes: deb\nURIs: %s\nSuites: %s-security\nComponents: main\nSigned-By: %s\n' "$4" "$2" "$keyring"
    } >"$1/etc/apt/sources.list.d/debian.sources"
}

make_debian_root() {  # release dir
    local release=$1 dir=$2 codename uris
    codename=$(debian_codename "$release") || return 1
    uris=$(debian_archive_uris) || return 1
    local cache=${ZENTRA_ROOTS_CACHE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/.cache/debian-roots}
    local base=$cache/debian-$release-base.tar
    mkdir -p "$cache" "$dir"
    if [ ! -s "$base" ]; then
        ensure_packages debootstrap debian-archive-keyring
        echo "== Making a Debian $release root ($codename) from the archive"
        local fresh=$cache/debian-$release-base.partial
        rm -rf "$fresh"
        debootstrap --variant=minbase --keyring=/usr/share/keyrings/debian-archive-keyring.gpg \
            "$codename" "$fresh" ${uris%% *} >"$cache/debootstrap-$release.log" 2>&1 ||
            { tail -n 20 "$cache/debootstrap-$release.log"; return 1; }
        tar -C "$fresh" -cf "$base.partial" . && mv "$base.partial" "$base"
        rm -rf "$fresh"
    fi
    tar -C "$dir" -xf "$base"
    # shellcheck disable=SC2086
    write_root_sources "$dir" "$codename" $uris
}

copy_tree_into_root() {  # dir
    local source
    source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    mkdir -p "$1/src"
    # What the checkout holds, tracked or new, as it is now, and its history, so that it is
    # a checkout there as a clone is (the tests ask it for its files and its last commit);
    # the root's own build folders and caches stay.
    (cd "$source" && { git ls-files -z --cached --others --exclude-standard; printf '.git\0'; } |
        xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh |
        tar --null -T - -cf -) | tar -C "$1/src" -xf -
}

# A private mount namespace: the mounts go with the command, however it ends. The root is
# a mount point of its own, so the window tests' own private mounts work inside it.
in_debian_root() {  # dir command...
    local dir
    dir=$(cd "$1" && pwd)
    shift
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    unshare -m --propagation private sh -c '
        set -e
        root=$1; shift
        mount --bind "$root" "$root"
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount --rbind /sys "$root/sys"
        mount -t tmpfs tmpfs "$root/tmp"
        exec chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" ZENTRA_IN_DEBIAN_ROOT=1 \
            /bin/sh -c "[ ! -d /src ] || cd /src; exec \"\$@\"" sh "$@"' sh "$dir" "$@"
}
