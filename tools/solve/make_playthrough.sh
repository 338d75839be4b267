#!/usr/bin/env bash
# Rebuilds demos/playthrough.script: the whole first round, levels 1 to 8
# at difficulty 0, won by keys from the program's start. Run it when the levels
# or the physics change; CTest replays what it writes.
#   tools/solve/make_playthrough.sh [BUILD_DIR] [SECONDS_PER_LEVEL]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
seconds=${2:-900}
cmake --build "$build" --target kravix-solve
out=demos/playthrough.script
{
  echo "# The whole first round won by keys, from the program's start: the title,"
  echo "# then levels 1 to 8 at difficulty 0 without losing a ship, ending on the"
  echo "# intro of level 1 at difficulty 2. Written by tools/solve/make_playthrough.sh."
} >"$out.new"
"$build/tools/solve/kravix-solve" --level 1 --to 8 --seconds "$seconds" --out "$out.keys"
cat "$out.keys" >>"$out.new"
rm -f "$out.keys"
mv "$out.new" "$out"
grep -E "^# (level|expect)" "$out"
