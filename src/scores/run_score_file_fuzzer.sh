#!/usr/bin/env bash
# Runs the score file fuzzer for a bounded time under AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from the seed corpus of real score
# files; exits non-zero on any finding. From the source root:
#   bash src/scores/run_score_file_fuzzer.sh [seconds, default 60] [build folder, default build-fuzz]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
build="${2:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DKRAVIX_FUZZ=ON -DKRAVIX_SANITIZE=ON -DKRAVIX_GAME=OFF -DKRAVIX_TESTS=OFF -DKRAVIX_BENCH=OFF \
  >/dev/null
ninja -C "$build" score_file_fuzzer

# New inputs go to a scratch folder, so the seed corpus in the source tree stays as it is;
# an input that fails is kept in the build folder.
scratch="$(mktemp -d)"
files="$(mktemp -d)"  # the fuzzer's score file
trap 'rm -rf "$scratch" "$files"' EXIT
mkdir -p "$build/score_file_fuzzer-failures"
TMPDIR="$files" "$build/score_file_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$build/score_file_fuzzer-failures/" "$scratch" "$root/src/scores/score_file_corpus"
