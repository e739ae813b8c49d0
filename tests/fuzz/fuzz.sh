#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (with AddressSanitizer and UBSan) and runs
# each for the given number of seconds (default 30). Any finding fails the run.
#   tests/fuzz/fuzz.sh [seconds] [build folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-30}
out=${2:-$root/build-fuzz}
mkdir -p "$out"

sources=("$root/workflow/NumberText.cpp" "$root/settings/SettingFile.cpp" "$root/platform/NativeFileSystem.cpp")
flags=(-std=c++20 -O1 -g -I"$root" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

# The release's own clang: clang++, or a versioned one where only that is installed.
clang=$(command -v clang++ || ls /usr/bin/clang++-[0-9]* 2>/dev/null | sort -V | tail -n1)
[ -n "$clang" ] || { echo "clang++ is missing" >&2; exit 1; }
for target in ToNumber SettingFile; do
    binary="$out/${target}Fuzzer"
    if [ ! -x "$binary" ] || [ -n "$(find "$root/tests/fuzz" "$root/workflow" "$root/settings" "$root/platform" \
            -newer "$binary" -name '*.[ch]*' | head -1)" ]; then
        "$clang" "${flags[@]}" "$root/tests/fuzz/${target}Fuzzer.cpp" "${sources[@]}" -o "$binary"
    fi
done

run() {  # target seeds
    local corpus="$out/corpus-$1"
    mkdir -p "$corpus"
    echo "Fuzzing $1 for ${seconds}s"
    (cd "$out" && "./$1Fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
        -max_len=8192 -print_final_stats=1 "$corpus" "$root/tests/fuzz/seeds/$2" 2>&1 |
        grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|SUMMARY|==[0-9]+==|Test unit" || true)
    # libFuzzer exits non-zero on a finding; check that it did not leave a crash file.
    if ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-* >/dev/null 2>&1; then
        echo "A fuzz finding is in $out" >&2
        return 1
    fi
}
run ToNumber to_number
run SettingFile setting_file
