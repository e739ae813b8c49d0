#!/usr/bin/env bash
# What a blind user hears, from the screen reader itself: the prompt at the entry; the
# usage page's heading and figures read after the reveal with no click and no Tab; the
# saved number at the next start. Orca runs headless, its speech written to its debug log.
# Usage: orca_test.sh <program> <demo server> <port>
# (as root, for a loopback and a home folder of its own; on a display of its own)
set -euo pipefail
program=$1 demo_server=$2 port=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../window_manager.sh"

[ -x /usr/bin/orca ] || { echo "the screen reader is not installed"; exit 77; }
if [ -z "${ZQ_ORCA_WORK:-}" ]; then
    [ "$(id -u)" -eq 0 ] && unshare -n -m -p -f --mount-proc true 2>/dev/null ||
        { echo "needs root for a private loopback and process list"; exit 77; }
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -m 700 "$work/runtime"
    # The session's buses, the accessibility bus among them, live in its runtime folder,
    # outside the home folder that the program gets a private copy of. The screen reader
    # will not start while any other process of its name runs for this user (the user's own
    # reader, another run's, a zombie left to a slow init): it gets a process list of its own.
    status=0
    env ZQ_ORCA_WORK="$work" XDG_RUNTIME_DIR="$work/runtime" \
        unshare -n -m -p -f --mount-proc sh -c 'ip link set lo up && exec dbus-run-session -- "$@"' sh "$0" "$@" || status=$?
    exit "$status"
fi

work=$ZQ_ORCA_WORK
cleanup() {
    [ -n "${ZQ_KEEP_LOG:-}" ] && [ -n "${log:-}" ] && cp "$log" "$ZQ_KEEP_LOG"
    kill -KILL "${pid:-}" "${orca:-}" "${server:-}" "${wm:-}" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "--- what the screen reader said:" >&2
    grep -o "SPEECH OUTPUT: '[^']*'" "$log" >&2 || true
    echo "--- what it printed:" >&2
    tail -n 20 "$work/orca.out" >&2 || true
    # Whether the window manager activated the window, and whether the reader heard it.
    echo "--- the windows, and the active one:" >&2
    wmctrl -l >&2 || true
    xprop -root _NET_ACTIVE_WINDOW >&2 || true
    echo "--- what it heard of windows, and the handling it chose:" >&2
    grep -E "EVENT MANAGER: window:|Setting active script" "$log" | tail -n 12 >&2 || true
    exit 1
}

start_window_manager || fail "no window manager"
"$demo_server" --port "$port" >/dev/null &
server=$!
mkdir -p "$work/home" "$work/prefs"
# No synthesizer: what would be spoken is only logged.
printf 'import orca.settings\norca.settings.speechServerFactory = ""\norca.settings.speechFactoryModules = []\n' \
    >"$work/prefs/orca-customizations.py"

# What was said after the first $1 utterances, one a line.
said_after() { grep -o "SPEECH OUTPUT: '[^']*'" "$log" 2>/dev/null | sed -n "$((${1:-0} + 1)),\$p"; }
spoken() { said_after "$1" | grep -qF -- "$2"; }
# Waits up to $3 seconds for words said after the first $1 utterances.
hear() {
    for _ in $(seq $((${3:-20} * 10))); do spoken "$1" "$2" && return 0; sleep 0.1; done
    return 1
}
said() { grep -c "SPEECH OUTPUT" "$log" 2>/dev/null || true; }

# A reader of its own for each start of the program. Orca 48 remembers a program that has
# ended by the address of its object, and may take a program started soon after for the
# ended one when the address is reused: it then presents the new window as if it came from
# nowhere, and says its description at every activation. A user's reader does the same.
start_orca() {  # a name for its log
    if [ -n "${orca:-}" ]; then
        kill "$orca" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$orca" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$orca" 2>/dev/null || true
        wait "$orca" 2>/dev/null || true
    fi
    log=$work/orca-$1.log
    /usr/bin/python3 "$here/orca_flushing.py" --debug-file "$log" -u "$work/prefs" >"$work/orca.out" 2>&1 &
    orca=$!
    hear 0 "Screen reader on" 30 || fail "the screen reader did not start"
}
home=$(getent passwd "$(id -u)" | cut -d: -f6)
start_program() {
    env WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS="${WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS:-}" \
        sh -c 'mount --bind "$1" "$2" && exec "$3"' sh "$work/home" "$home" "$program" &
    pid=$!
}
close_program() {
    # The screen reader takes a window that appears right after a key it used itself (Say
    # All) for a side effect of that key, and says nothing: another key comes between, as a
    # user's would.
    xdotool key shift
    sleep 0.5
    close_window "Pengecekan Quota Zentra" || fail "the window could not be closed"
    wait "$pid" || true
}
# The reveal comes four seconds after the check starts; a key, with no click and no Tab,
# then reads the page from its top: Say All (the keypad's plus) the whole page, Down one
# line after another. On a busy machine the reveal may come later than the key: the key is
# pressed again, up to three times, until the first words are heard.
read_after_reveal() {  # what, key, first words, words after them
    sleep 6
    local before attempt
    for attempt in 1 2 3; do
        before=$(said)
        xdotool key "$2"
        hear "$before" "$3" 10 && break
        [ "$attempt" -lt 3 ] || fail "$1: $2 did not read \"$3\""
    done
    [ "$2" != Down ] || xdotool key Down
    hear "$before" "$4" 10 || fail "$1: $2 did not read \"$4\""
    # Whatever the order in which the window's and the page's processes were heard, the
    # reader ends on its web-page handling: a focus claimed by anything outside the page
    # after the page's own would have taken it back to its plain handling.
    # (Orca 43 logs "script: … WebKitGtk.script", Orca 48 "script to … WebKitGTK.script".)
    grep -oE "Setting active script:? (to )?[^ ]* \(module=[^)]*" "$log" | tail -1 | grep -qi "webkitgtk" ||
        fail "$1: the screen reader left its web-page handling after the reveal"
}

# Entry: the box is named by its prompt, not by the panel's caption.
start_orca entry
before=$(said)
start_program
hear "$before" "Isikan Nomer Zentra Anda : text" 30 || fail "entry: the prompt was not said with the box"
spoken "$before" "No. Zentra text" && fail "entry: the box was named by the panel's caption"
xdotool type --delay 50 123456789012
hear "$before" "Save & Check" 10 || fail "entry: the twelfth character did not move to the button"
xdotool key alt+s
read_after_reveal "typed check" KP_Add "Pemakaian Kuota" "GB dari"
close_program

# The saved number's start: what is checked, then the page.
start_orca saved
before=$(said)
start_program
hear "$before" "Cek Quota 123456789012. Please wait" 30 || fail "saved number: what is checked was not said"
# Orca 43 reads nothing with the arrows in a page of this engine, in any program: there
# Say All reads the page again.
if [ "$(orca --version | grep -o '[0-9][0-9]*' | head -1)" -gt 43 ]; then
    read_after_reveal "saved number" Down "Zentra 123456789012" "GB dari"
else
    read_after_reveal "saved number" KP_Add "Pemakaian Kuota" "GB dari"
fi
# Only the disabled button, which is never focused here, is unavailable ("grayed").
spoken "$before" "grayed" && fail "saved number: the focus was said to be on something unavailable"
checks=$(said_after "$before" | grep -c "Cek Quota" || true)
[ "$checks" -eq 1 ] || fail "saved number: what is checked was said $checks times, not once"
close_program
echo "PASS"
