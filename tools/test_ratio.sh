#!/usr/bin/env bash
# Tests against code, in non-blank lines: every file under tests/ against the
# C++ (.cpp, .h) under src/, tools/ and bench/. Prints both counts and the
# ratio; exits 1 when the tests are more than a third of the code.
#   tools/test_ratio.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

nonBlankLines() {  # the non-blank lines of the files find lists for the arguments
  find "$@" -type f -print0 | xargs -0 -r cat | grep -c '[^[:space:]]' || true
}

tests=$(nonBlankLines tests)
code=$(nonBlankLines src tools bench \( -name '*.cpp' -o -name '*.h' \))
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", c ? t / c : 99 }')
echo "tests: $tests non-blank lines under tests/"
echo "code:  $code non-blank lines of C++ under src/, tools/, bench/"
echo "ratio: $ratio (at most 0.333)"
if [ $((3 * tests)) -gt "$code" ]; then
  echo "The tests are more than a third of the code." >&2
  exit 1
fi
