# Sourced by ./run and ./test: installs, from Debian's archive, whatever of the given
# packages is missing. Needs root (or sudo) only when something is missing.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}" ||
        { "${sudo[@]}" apt-get update && "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; }
}

# The web engine's API: 4.0 where the release still has it (Debian 12, whose toolkit's own
# web view is built on it), else 4.1, the only one current releases ship. An installed one
# answers at once; otherwise the archive is asked, its lists fetched first if there are none.
webkit_dev_package() {
    local api
    for api in 4.0 4.1; do
        dpkg-query -W -f='${Status}' "libwebkit2gtk-$api-dev" 2>/dev/null | grep -q "install ok installed" &&
            { echo "libwebkit2gtk-$api-dev"; return; }
    done
    [ "$(id -u)" -ne 0 ] || [ -n "$(find /var/lib/apt/lists -name '*Packages*' -print -quit 2>/dev/null)" ] ||
        apt-get update -q >/dev/null
    case $(apt-cache policy libwebkit2gtk-4.0-dev 2>/dev/null | sed -n 's/^ *Candidate: //p') in
        ""|"(none)") echo libwebkit2gtk-4.1-dev ;;
        *) echo libwebkit2gtk-4.0-dev ;;
    esac
}

# What building the program needs.
BUILD_PACKAGES=(cmake make g++ pkg-config dpkg-dev libwxgtk3.2-dev libwxgtk-webview3.2-dev
                "$(webkit_dev_package)" fonts-liberation2)
# What the tests, the demo server and the screenshots need on top.
TEST_PACKAGES=(libgtest-dev libgmock-dev libcpp-httplib-dev xvfb xauth x11-apps x11-utils imagemagick
               xdotool openbox wmctrl clang libclang-rt-dev desktop-file-utils appstream
               binutils-mingw-w64-x86-64 icoutils libatspi2.0-dev at-spi2-core dbus
               libx11-dev libxtst-dev weston
               fonts-cantarell libssl-dev openssl lintian bubblewrap orca iproute2 git)
# What the Windows cross build and its tests under Wine need.
WINDOWS_PACKAGES=(cmake make dpkg-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
                  binutils-mingw-w64-x86-64 libz-mingw-w64-dev nsis zip unzip wine wine64
                  googletest xvfb xauth python3)
