#!/usr/bin/env bash
# Builds the program and its baselines in one build, then measures them on a virtual
# display and prints medians and ratios (program over baseline).
#   bench/run.sh [runs]        (root: each program runs with a throwaway home folder)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" libcpp-httplib-dev libx11-dev xvfb xauth

port=47095
cmake --preset bench -DZENTRA_USAGE_HOST="127.0.0.1:$port" >/dev/null
cmake --build build-bench -j "$(nproc)" --target ZentraQuota bench_bare_frame bench_bare_webview zentra_bench >/dev/null
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    build-bench/bench/zentra_bench build-bench/ZentraQuota build-bench/bench/bench_bare_frame \
    build-bench/bench/bench_bare_webview "$port" "${1:-5}"
