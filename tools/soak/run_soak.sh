#!/usr/bin/env bash
# The long soak: the whole game in the sanitizer build (clang, AddressSanitizer
# and UndefinedBehaviorSanitizer) under kravix-soak's random keys.
#   tools/soak/run_soak.sh [SEEDS] [POLLS] [SOAK OPTIONS...]
# SEEDS: a list such as 1,2,3 or a range such as 1-8 (default 1-5); POLLS per
# seed (default 200000, at most 900000); further options go to kravix-soak
# (--autopilot, --beam, --plan-seconds, --slips). Each seed runs in a temp
# folder that is also its HOME; its recorded keys are then replayed through
# kravix-headless and the screenshots, the autopilot's views and the score
# file compared byte for byte. A seed that fails keeps its folder. Exit status
# 0 when every seed ran clean.
set -euo pipefail
cd "$(dirname "$0")/../.."

seeds=${1:-1-5}
polls=${2:-200000}
shift $(($# < 2 ? $# : 2))
build=${KRAVIX_SANITIZE_BUILD:-build-sanitize}

if [[ $seeds =~ ^([0-9]+)-([0-9]+)$ ]]; then
  seeds=$(seq "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}")
else
  seeds=${seeds//,/ }
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DKRAVIX_SANITIZE=ON >/dev/null
cmake --build "$build" --target kravix-soak kravix-headless >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for seed in $seeds; do
  folder=$(mktemp -d "${TMPDIR:-/tmp}/kravix-soak-$seed.XXXXXX")
  started=$(date +%s%N)
  status=0
  (cd "$folder" && HOME="$folder" "$OLDPWD/$build/tools/soak/kravix-soak" --seed "$seed" \
    --polls "$polls" --require-all --record keys.script --report report.txt "$@" \
    >stdout.txt 2>stderr.txt) || status=$?
  tenths=$((($(date +%s%N) - started) / 100000000))
  cat "$folder/report.txt" 2>/dev/null || echo "seed $seed: no report"
  verdict="clean"
  if [ "$status" -ne 0 ]; then
    verdict="exit status $status"
  elif grep -q "Sanitizer\|runtime error" "$folder/stderr.txt"; then
    verdict="sanitizer report"
  else
    replay="$folder/replay"
    mkdir "$replay"
    (cd "$replay" && HOME="$replay" "$OLDPWD/$build/tools/headless/kravix-headless" \
      --script ../keys.script >/dev/null 2>stderr.txt) || verdict="replay failed"
    for file in "$folder"/*.ppm "$folder/.kravix.sco"; do
      cmp -s "$file" "$replay/$(basename "$file")" || verdict="replay differs at $(basename "$file")"
    done
  fi
  [ "$verdict" = "clean" ] && shown="clean; its recorded keys replay alike" || shown=$verdict
  printf '  sanitizer build: %s (%d.%d s)\n' "$shown" $((tenths / 10)) $((tenths % 10))
  if [ "$verdict" = "clean" ]; then
    rm -rf "$folder"
  else
    echo "  kept in $folder"
    failed=1
  fi
done
exit $failed
