#!/usr/bin/env bash
# Wins every level once more with a margin: at difficulty 1, and at the
# slowest and fastest turn speeds, each level on its own from its intro.
# Prints a table row per level and setting: polls of the winning run and the
# processor seconds the solver needed.
#   tools/solve/solve_margin.sh BUILD_DIR [SECONDS_PER_LEVEL]
set -uo pipefail
build=${1:?usage: solve_margin.sh BUILD_DIR [SECONDS_PER_LEVEL]}
seconds=${2:-600}
solver="$build/tools/solve/kravix-solve"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "| level | setting | polls | solver seconds |"
echo "|---|---|---|---|"
for setting in "--difficulty 1" "--settings turnSpeed=30" "--settings turnSpeed=70"; do
  for level in 1 2 3 4 5 6 7 8; do
    # shellcheck disable=SC2086
    "$solver" --level "$level" $setting --seconds "$seconds" --out "$work/keys.script" \
      >"$work/log" 2>&1
    result=$(tr '\r' '\n' <"$work/log" | grep -E "^  (won|not won):" | tail -1)
    polls=$(sed -n 's/.*: \([0-9]*\) polls.*/\1/p' <<<"$result")
    time=$(sed -n 's/.*, \([0-9.]*\) s of processor time$/\1/p' <<<"$result")
    case "$result" in
      *"not won"*) echo "| $level | ${setting#--} | not won | $time |" ;;
      *) echo "| $level | ${setting#--} | $polls | $time |" ;;
    esac
  done
done
