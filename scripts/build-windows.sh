#!/usr/bin/env bash
# Builds the Windows program on Debian: ZentraQuota.exe (static, stripped), a portable zip
# and an installer, into OUTDIR. Installs the cross compiler, Wine and NSIS from Debian,
# fetches wxWidgets, libpng and libjpeg-turbo as Debian source packages through a private
# source list, and builds a static wxWidgets for Windows once (cached, keyed by versions,
# flags and compiler).
#   scripts/build-windows.sh OUTDIR
# ZENTRA_USAGE_HOST, when set, is compiled in as the usage host.
# ZENTRA_WINDOWS_TESTS=ON also builds the logic tests for Windows (into the build folder).
# ZENTRA_WINDOWS_CACHE and ZENTRA_WINDOWS_BUILD name other cache and build folders;
# ZENTRA_WINDOWS_CONFIGURE_ONLY=1 stops once the program's build is configured.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
. "$root/scripts/ensure-packages.sh"
. "$root/scripts/build-folder.sh"
ensure_packages "${WINDOWS_PACKAGES[@]}"

cache=${ZENTRA_WINDOWS_CACHE:-$root/.cache/windows}
host=x86_64-w64-mingw32
export CC=$host-gcc-posix CXX=$host-g++-posix
jobs=$(nproc)
mkdir -p "$cache"

# --- Sources, from Debian's archive, without touching the system's apt configuration.
packages=(wxwidgets3.2 libpng1.6 libjpeg-turbo)
fetch_sources() {
    local apt=$cache/apt
    mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$cache/src"
    # deb-src entries for the URIs and suites the machine already uses.
    {
        for file in /etc/apt/sources.list.d/*.sources; do
            [ -f "$file" ] || continue
            awk -v RS= '/(^|\n)Types:[^\n]*deb/ {
                    uris = suites = comps = keyring = ""
                    n = split($0, lines, "\n")
                    for (i = 1; i <= n; i++) {
                        if (lines[i] ~ /^URIs:/) uris = substr(lines[i], 6)
                        if (lines[i] ~ /^Suites:/) suites = substr(lines[i], 8)
                        if (lines[i] ~ /^Components:/) comps = substr(lines[i], 12)
                        if (lines[i] ~ /^Signed-By:/) keyring = substr(lines[i], 11)
                    }
                    gsub(/^[ \t]+|[ \t]+$/, "", keyring); gsub(/^[ \t]+|[ \t]+$/, "", comps)
                    nu = split(uris, u, " "); ns = split(suites, s, " ")
                    opt = keyring ? "[signed-by=" keyring "] " : ""
                    for (a = 1; a <= nu; a++) for (b = 1; b <= ns; b++)
                        print "deb-src " opt u[a] " " s[b] " " comps
                }' "$file"
        done
        if [ -f /etc/apt/sources.list ]; then
            sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' /etc/apt/sources.list
        fi
    } | sort -u >"$apt/sources.list"
    [ -s "$apt/sources.list" ] || { echo "No Debian archive in the apt configuration" >&2; exit 1; }
    local options=(-o Dir::Etc::sourcelist="$apt/sources.list" -o Dir::Etc::sourceparts=/dev/null
                   -o Dir::State::Lists="$apt/lists" -o Dir::Cache::Archives="$apt/archives"
                   -o APT::Get::List-Cleanup=0 -o APT::Sandbox::User=root)
    apt-get -q "${options[@]}" update >/dev/null
    # The newest version first; a mirror may lack a fresh security upload, so older ones
    # the archive lists are tried after it.
    local package version
    for package in "${packages[@]}"; do
        for version in $(apt-cache "${options[@]}" showsrc "$package" |
                         sed -n 's/^Version: //p' | sort -urV); do
            (cd "$cache/src" && apt-get -q "${options[@]}" source --download-only \
                "$package=$version" >/dev/null 2>&1) && continue 2
            rm -f "$cache/src/${package}_"*
        done
        # An archive may list a version whose Debian files it no longer serves (a security
        # upload whose .dsc and patches answer 404); its upstream tarball, which the same
        # listing names with its checksum, is then built as it is.
        fetch_upstream_tarball "$package" "${options[@]}" && continue
        echo "Could not fetch the source package $package" >&2
        exit 1
    done
}
fetch_upstream_tarball() {  # package apt-options...
    local package=$1
    shift
    local uris newest
    uris=$(awk '$1 == "deb-src" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }' \
           "$cache/apt/sources.list" | sort -u)
    newest=$(apt-cache "$@" showsrc "$package" | sed -n 's/^Version: //p' | sort -urV | head -n1)
    # Each listing of the newest version: its folder, then the upstream tarball and its SHA-256.
    apt-cache "$@" showsrc "$package" | awk -v want="$newest" '
        /^Version: / { version = $2 }
        /^Checksums-Sha256:/ { sums = 1; next }
        /^[^ ]/ { sums = 0 }
        sums && $3 ~ /\.orig\.tar\./ { file = $3; sum = $1 }
        /^Directory: / && version == want && file != "" { print $2, file, sum; file = "" }' |
    while read -r directory file sum; do
        for uri in $uris; do
            if /usr/lib/apt/apt-helper download-file "$uri/$directory/$file" "$cache/src/$file" "SHA256:$sum" >/dev/null 2>&1; then
                echo "   $package: the Debian files of $newest are missing from the archive; built from $file"
                exit 0
            fi
            rm -f "$cache/src/$file"
        done
    done
}
# The source of a package: its .dsc, or the upstream tarball where only that could be had.
dsc_of() {
    local found
    found=$(ls "$cache/src/$1"_*.dsc 2>/dev/null | sort -V | tail -n1)
    [ -n "$found" ] || found=$(ls "$cache/src/$1"_*.orig.tar.* 2>/dev/null | sort -V | tail -n1)
    echo "$found"
}
unpack_source() {  # package, into the current folder as a folder of that name
    local source
    source=$(dsc_of "$1")
    case $source in
        *.dsc) dpkg-source --no-check -x "$source" "$1" >/dev/null ;;
        *) mkdir "$1" && tar -xf "$source" -C "$1" --strip-components=1 ;;
    esac
}
for package in "${packages[@]}"; do
    [ -n "$(dsc_of "$package")" ] || { echo "== Fetching sources: ${packages[*]}"; fetch_sources; break; }
done

# --- Static wxWidgets for MSW with only what the program uses, cached by its key.
wx_features=(--disable-all-features --enable-gui --enable-unicode --enable-intl --enable-filesystem
             --enable-regkey --enable-timer --enable-image --enable-statbox --enable-stattext
             --enable-statbmp --enable-textctrl --enable-button --enable-msgdlg --enable-menus
             --enable-menubar --enable-ownerdrawn --enable-webview --enable-webviewie
             --disable-webviewedge --enable-stdpaths --enable-dynlib --enable-mousewheel
             --enable-dynamicloader --enable-variant --enable-log --enable-ole
             --enable-dataobj --enable-datetime --enable-longlong --enable-stopwatch
             --enable-file --enable-ffile --enable-streams --enable-wxdib)
key=$( { for p in "${packages[@]}"; do basename "$(dsc_of "$p")"; done
         "$CXX" --version | head -n1; echo "${wx_features[*]}"
         sed -n '/^build_libraries()/,/^}/p' "$0"; } | sha256sum | cut -c1-16)
prefix=$cache/wx-$key

# The folder the libraries were installed in is written into wx-config, the pkg-config and
# CMake files and the libraries' own config scripts; point them at where they are now.
relocate_libraries() {  # the folder they name
    sed -i --follow-symlinks "s|$1|$prefix|g" "$prefix"/lib/wx/config/* "$prefix"/lib/pkgconfig/*.pc \
        "$prefix"/lib/cmake/*/*.cmake "$prefix"/bin/*-config 2>/dev/null || true
}
build_libraries() {
    local work=$cache/work
    rm -rf "$work" "$cache"/wx-*.partial
    mkdir -p "$work"
    for package in "${packages[@]}"; do
        (cd "$work" && unpack_source "$package")
    done
    local toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW64.cmake" -DCMAKE_BUILD_TYPE=Release
                     -DCMAKE_INSTALL_PREFIX="$prefix.partial" -DCMAKE_PREFIX_PATH="$prefix.partial")
    echo "== libpng"
    cmake -S "$work/libpng1.6" -B "$work/png-build" "${toolchain[@]}" -DPNG_SHARED=OFF \
          -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_EXECUTABLES=ON >/dev/null
    cmake --build "$work/png-build" -j "$jobs" >/dev/null
    cmake --install "$work/png-build" >/dev/null
    echo "== libjpeg-turbo"
    cmake -S "$work/libjpeg-turbo" -B "$work/jpeg-build" "${toolchain[@]}" -DENABLE_SHARED=OFF \
          -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF >/dev/null
    cmake --build "$work/jpeg-build" -j "$jobs" >/dev/null
    cmake --install "$work/jpeg-build" >/dev/null
    echo "== wxWidgets for Windows, static"
    # Its assertions name their source files, and it keeps its installation folder: named
    # relative to its own source folder, and a fixed name installed elsewhere, so that the
    # program's bytes do not depend on where the cache is.
    # It also shows the date and time of its build (__DATE__, __TIME__): the compiler takes
    # them from SOURCE_DATE_EPOCH, here the toolkit's own release date.
    local released
    released=$(dpkg-parsechangelog -l "$work/wxwidgets3.2/debian/changelog" -STimestamp 2>/dev/null) || released=0
    mkdir -p "$work/wx-build"
    (export SOURCE_DATE_EPOCH=$released
     cd "$work/wx-build" &&
        "$work/wxwidgets3.2/configure" --host=$host --prefix=/zentra-wx --with-msw \
            --disable-shared --disable-debug_flag --disable-precomp-headers \
            --with-zlib=sys --with-libpng=sys --with-libjpeg=sys --without-libtiff \
            --without-expat --without-regex --without-liblzma --without-nanosvg --without-opengl \
            "${wx_features[@]}" \
            CPPFLAGS="-I$prefix.partial/include" LDFLAGS="-L$prefix.partial/lib" \
            CFLAGS="-O2 -ffile-prefix-map=$work/=" CXXFLAGS="-O2 -ffile-prefix-map=$work/=" \
            PKG_CONFIG_LIBDIR="$prefix.partial/lib/pkgconfig" PKG_CONFIG_PATH= >configure.log 2>&1 ||
        { tail -n 30 configure.log; exit 1; }
     make -j "$jobs" >make.log 2>&1 || { tail -n 40 make.log; exit 1; }
     make install DESTDIR="$work/wx-stage" >/dev/null &&
     cp -a "$work/wx-stage/zentra-wx/." "$prefix.partial/")
    mv "$prefix.partial" "$prefix"
    relocate_libraries "$prefix.partial"
    relocate_libraries /zentra-wx
    ln -sfn "../lib/wx/config/$(basename "$(ls "$prefix"/lib/wx/config/* | head -n1)")" "$prefix/bin/wx-config"
    rm -rf "$work"
}
# A cache that moved with its checkout, or was copied from another one, still names the
# folder it was built in: it is moved along, and rebuilt when it still does not answer for
# this folder (wx-config's prefix and the headers under it).
usable_libraries() {
    local named
    named=$("$prefix/bin/wx-config" --prefix 2>/dev/null) || return 1
    if [ "$named" != "$prefix" ]; then
        echo "== The cached libraries were built in $named: moved here"
        relocate_libraries "$named"
    fi
    [ "$("$prefix/bin/wx-config" --prefix)" = "$prefix" ] &&
        [ -f "$("$prefix/bin/wx-config" --cflags | sed -n 's/.*-I\([^ ]*include\/wx-3\.2\).*/\1/p')/wx/version.h" ]
}
if ! usable_libraries; then
    rm -rf "$prefix"
    start=$SECONDS; build_libraries; echo "   built in $((SECONDS - start)) s"
fi

# --- The program, the zip and the installer.
build=${ZENTRA_WINDOWS_BUILD:-$root/build-windows}
configure=(--preset windows -S "$root" -B "$build" -DwxWidgets_CONFIG_EXECUTABLE="$prefix/bin/wx-config"
           -DZENTRA_WINDOWS_PREFIX="$prefix" -DZENTRA_BUILD_TESTS="${ZENTRA_WINDOWS_TESTS:-OFF}")
[ -z "${ZENTRA_USAGE_HOST:-}" ] || configure+=(-DZENTRA_USAGE_HOST="$ZENTRA_USAGE_HOST")
echo "== ZentraQuota.exe"
forget_moved_build "$build"
(cd "$root" && cmake "${configure[@]}" >/dev/null)
[ -z "${ZENTRA_WINDOWS_CONFIGURE_ONLY:-}" ] || exit 0  # the libraries' own check stops here
cmake --build "$build" -j "$jobs"
(cd "$build" && cpack -G "ZIP;NSIS" >/dev/null)
# Their modes, whatever the builder's umask.
install -m 0755 "$build/ZentraQuota.exe" "$out/"
install -m 0644 "$build"/zentra-quota-1.00-win64.zip "$build"/zentra-quota-1.00-win64.exe "$out/"
ls -l "$out"
