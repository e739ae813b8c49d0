#!/usr/bin/env bash
# The README and the pages in docs/ name only what exists: every link and every path in
# backquotes is a file or folder of the checkout, every script a command runs is there and
# executable, and every test name or ctest pattern they give matches a test of the build.
# Usage: docs_test.sh <source folder> <build folder>
set -euo pipefail
src=$1 build=$2
cd "$src"
tests=$(ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p')
labels=$(ctest --test-dir "$build" --print-labels | sed -n 's/^ *//p')
failures=0
bad() { echo "$1: $2" >&2; failures=$((failures + 1)); }

for page in README.md docs/*.md; do
    dir=$(dirname "$page")
    # Links to pages and pictures, relative to the page.
    while read -r target; do
        [ -e "$dir/${target%%#*}" ] || bad "$page" "link to a missing file: $target"
    done < <(grep -o '](\([^)]*\))' "$page" | sed 's/^](//; s/)$//' | grep -v '^[a-z]*:')
    # Paths in backquotes, as the repository's own: a top folder of the checkout first.
    while read -r path; do
        path=${path%%[ :]*}
        case $path in *'<'*|*'*'*|*'{'*) continue ;; esac
        [ -e "$path" ] || bad "$page" "no such file or folder: $path"
    done < <(grep -o '`[^`]*`' "$page" | tr -d '`' |
             grep -E '^(\./)?(app|workflow|settings|platform|ui|tests|tools|bench|scripts|cmake|packaging|docs)/|^\./(run|test)')
    # Scripts and test patterns in the commands shown.
    while read -r line; do
        read -ra words <<<"$line"
        for word in "${words[@]}"; do
            case $word in
                ./run|./test|scripts/*|bench/*.sh|tests/*.sh)
                    [ -x "$word" ] || bad "$page" "a command runs a missing script: $word" ;;
            esac
        done
        if [[ $line =~ ctest\ .*-R\ \'?([^\' ]+) ]]; then
            grep -qE -- "${BASH_REMATCH[1]}" <<<"$tests" || bad "$page" "no test matches: ${BASH_REMATCH[1]}"
        fi
        if [[ $line =~ ctest\ .*-L\ ([^\' ]+) ]]; then
            grep -qx -- "${BASH_REMATCH[1]}" <<<"$labels" || bad "$page" "no such label: ${BASH_REMATCH[1]}"
        fi
    done < <(grep '^    ' "$page")
    # Test names and suites in backquotes.
    while read -r name; do
        pattern=${name//./\\.}
        grep -qE -- "^${pattern//\*/.*}" <<<"$tests" || bad "$page" "no such test: $name"
    done < <(grep -o '`[^`]*`' "$page" | tr -d '`' | grep -E '^([a-z0-9]+\.[A-Z][A-Za-z]*|[A-Z][A-Za-z]+\.\*)$')
done
[ "$failures" -eq 0 ] || { echo "FAIL: $failures wrong names in the documentation" >&2; exit 1; }
echo "every link, path, script and test named in the documentation exists"
