#!/usr/bin/env bash
# Builds the program, the bare frame (the floor) and the plain peer in one build, then
# measures them on a desktop-like virtual display (a window manager runs and holds the X
# server) in alternating runs, and prints medians and paired ratios.
#   bench/run.sh [--half-speed] [runs]   (root: each program runs with a throwaway home folder)
# --half-speed: the measured programs, and all they start, confined to one core that one
# busy process shares, as on a slower or busy machine.
set -euo pipefail
cd "$(dirname "$0")/.."
half_speed=
if [ "${1:-}" = --half-speed ]; then half_speed=1; shift; fi
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libcpp-httplib-dev libx11-dev libxtst-dev xvfb xauth openbox

# A port nobody listens on, so that two benches can run at once; it is compiled in.
port=
for candidate in $(shuf -i 47100-47999 -n 50); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
done
[ -n "$port" ] || { echo "no free port found" >&2; exit 1; }
cmake --preset bench -DZENTRA_USAGE_HOST="127.0.0.1:$port" >/dev/null
cmake --build build-bench -j "$(nproc)" --target ZentraQuota bench_bare_frame bench_plain_peer zentra_bench >/dev/null
if [ -n "$half_speed" ]; then
    core=$(( $(nproc) - 1 ))
    setsid taskset -c "$core" sh -c 'while :; do :; done' &
    busy=$!
    trap 'kill "$busy" 2>/dev/null' EXIT
    export ZQ_BENCH_CORE=$core
    echo "Half speed: the programs on core $core, shared with a busy process"
fi
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    "$@"
    status=$?
    kill $wm
    exit $status' sh \
    build-bench/bench/zentra_bench build-bench/ZentraQuota build-bench/bench/bench_bare_frame \
    build-bench/bench/bench_plain_peer "$port" "${1:-15}"
