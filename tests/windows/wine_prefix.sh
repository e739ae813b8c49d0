# Sourced by the Windows tests: a fresh Wine prefix in a folder of its own, removed with
# Wine's server on exit, and fail(). A test that starts more defines on_exit() to end it.
work=$(mktemp -d)
on_exit() { :; }
trap 'on_exit; WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1 || true
wineserver -w
