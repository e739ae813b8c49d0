# Sourced by ./test and the Windows build: a build folder that moved with its checkout
# still names its old place in CMake's cache, which CMake refuses; start it afresh.
forget_moved_build() {  # build folder
    local cache=$1/CMakeCache.txt
    [ -f "$cache" ] || return 0
    local made
    made=$(sed -n 's/^CMAKE_CACHEFILE_DIR:INTERNAL=//p' "$cache")
    [ "$made" = "$(cd "$1" && pwd)" ] && return 0
    echo "== $1 was configured in $made: configured afresh"
    rm -rf "$cache" "$1/CMakeFiles"
}
