#!/usr/bin/env bash
# The benchmark report: builds every Google Benchmark program of bench/ in
# release mode, runs each, and prints every figure beside the clear-and-copy
# yardstick (BM_ClearAndCopyFrame, 64000 bytes cleared and copied to video
# memory) measured in the same program's run, as a ratio, with its target.
#   tools/bench/report.sh [BUILD_FOLDER]     (default: build)
# Figures are medians of 5 repetitions, in CPU time (the machines this runs
# on are shared); a benchmark that times itself by hand uses its own time.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
programs=()
for source in bench/*.cpp; do programs+=("bench_$(basename "$source" .cpp)"); done
cmake --build "$build" --target "${programs[@]}" >/dev/null

target_for() {
  case "$1" in
    BM_TerrainAndMapLevel7*) echo "2" ;;
    BM_HeavyFrame | BM_HeavyFrameWithTurretsAndShots) echo "4" ;;
    *) echo "" ;;
  esac
}

model=$(lscpu | sed -n 's/^Model name: *//p' | head -1)
echo "Machine: ${model:-unknown}, $(nproc) cores; $(date -u +%Y-%m-%d)"
echo
printf '| %-19s | %-44s | %10s | %10s | %7s | %-9s |\n' program benchmark "time (ns)" "yardstick" ratio target
printf '|%s|%s|%s|%s|%s|%s|\n' "---------------------" "----------------------------------------------" \
  "------------" "------------" "---------" "-----------"
missed=0
for program in "${programs[@]}"; do
  csv=$("$build/bench/$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null | grep '_median"')
  # name,iterations,real_time,cpu_time,time_unit,...: CPU time unless timed by hand.
  yardstick=$(echo "$csv" | awk -F, '/"BM_ClearAndCopyFrame_median"/ {print $4}')
  while IFS=, read -r name _ real cpu unit _; do
    name=${name//\"/}
    name=${name%_median}
    [ "$name" = "BM_ClearAndCopyFrame" ] && continue
    time=$cpu
    yard=$yardstick
    if [[ $name == */manual_time ]]; then
      time=$real
      yard=$(echo "$csv" | awk -F, '/"BM_ClearAndCopyFrame_median"/ {print $3}')
    fi
    ratio=$(awk -v t="$time" -v y="$yard" 'BEGIN { printf "%.2f", t / y }')
    target=$(target_for "$name")
    verdict="reported"
    if [ -n "$target" ]; then
      if awk -v r="$ratio" -v t="$target" 'BEGIN { exit !(r <= t) }'; then
        verdict="≤ ${target}× met"
      else
        verdict="≤ ${target}× MISSED"
        missed=1
      fi
    fi
    printf '| %-19s | %-44s | %10.0f | %10.0f | %6s× | %-9s |\n' "$program" "$name" "$time" "$yard" \
      "$ratio" "$verdict"
  done <<<"$csv"
done
exit $missed
