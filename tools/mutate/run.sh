#!/usr/bin/env bash
# The mutation run: N single-point mutants of src/, each built and tested in a
# copy of the working tree, then the kill rate and the survivors.
#   tools/mutate/run.sh [--seed S] [--count N] [--only I,J..] [--timeout T] [--exclude REGEX]
#                       [--skip REGEX] [--jobs J] [--work DIR] [--keep] [--out FILE]
# A mutant's tests get T seconds in all (default: three times the unmutated run, plus 10).
# The user's tree is only read. Survivors listed in tools/mutate/equivalent.txt
# count as equivalent and drop out of the second rate.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(git -C "$here" rev-parse --show-toplevel) || exit 2
seed=18
count=100
timeout=0
only=''
jobs=2
# Out of the default run: tests of the packaging, of windows, of the tests' own
# limits and of this tool, and the one that waits out the runner's time limit.
exclude='^(packaging|ctest|kravix-mutate)\.|Window|CutsOneThatWouldPollForever'
skip=''
work=''
keep=0
out=''

usage() {
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
}

while [ $# -gt 0 ]; do
  case "$1" in
    --seed | --count | --only | --timeout | --exclude | --skip | --jobs | --work | --out)
      [ $# -ge 2 ] || { echo "run.sh: $1 takes a value" >&2; usage >&2; exit 2; }
      declare "${1#--}=$2"
      shift 2 ;;
    --keep) keep=1; shift ;;
    --help) usage; exit 0 ;;
    *) echo "run.sh: bad option '$1'" >&2; usage >&2; exit 2 ;;
  esac
done
for number in "$seed" "$count" "$timeout" "$jobs"; do
  [[ "$number" =~ ^[0-9]+$ ]] || { echo "run.sh: '$number' is not a number" >&2; exit 2; }
done

[ -n "$work" ] || work=$(mktemp -d "${TMPDIR:-/tmp}/kravix-mutate.XXXXXX")
mkdir -p "$work"
work=$(cd "$work" && pwd)
case "$work/" in
  "$repo/"*) echo "run.sh: the work folder must lie outside the tree" >&2; exit 2 ;;
esac
tree=$work/tree
build=$work/build
cleanup() {
  [ "$keep" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
[ -z "$out" ] || exec > >(tee "$out") 2>&1

now() { date +%s; }
started=$(now)

# The working tree as it is, tracked and untracked files alike, less what git ignores.
copyTree() {
  rm -rf "$tree" "$work/original"
  mkdir -p "$tree" "$work/original"
  git -C "$repo" ls-files -z -c -o --exclude-standard |
    tar -C "$repo" --null --ignore-failed-read -T - -cf - | tar -C "$tree" -xf -
}

# The build runs programs too (the packaging screenshot plays a script), which a
# mutant can make run forever: the build has a limit of its own.
buildLimit=0
buildTree() {
  timeout -k 5 "$buildLimit" nice -n 10 cmake --build "$build" -j "$jobs" >"$work/build.log" 2>&1
}

# The tests that failed in the last run, on one line.
failedTests() {
  sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' "$work/test.log" | tr '\n' ' '
}

# Status 0 when every selected test passes; prints "timeout" when the run or a test
# ran out of time. The limit covers the whole run: the tests' own TIMEOUT properties
# would let one hung test wait for minutes.
runTests() {
  timeout -k 5 "$1" nice -n 10 ctest --test-dir "$build" -j "$jobs" --stop-on-failure \
    -E "$exclude" >"$work/test.log" 2>&1
  local status=$?
  [ $status -lt 124 ] || echo "run over $1 s"
  grep -q '\*\*\*Timeout' "$work/test.log" && echo "test over its limit"
  return $status
}

# Why the build of a mutant failed: "stillborn" when a source did not compile, else
# the build step that failed (a program run at build time), which is a kill.
buildFailure() {
  local failed
  failed=$(grep -m1 '^FAILED: ' "$work/build.log" | cut -d' ' -f2)
  case "$failed" in
    *.o | '') echo stillborn ;;
    *) echo "killed by the build step $failed" ;;
  esac
}

copyTree
echo "Mutation run: seed $seed, $count mutants${only:+ (only $only)}, $jobs jobs"
echo "Tree: $repo ($(git -C "$repo" rev-parse --short HEAD)$(git -C "$repo" diff --quiet HEAD || echo ', with changes'))"
echo "Tests left out: $exclude"
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKRAVIX_GAME=OFF \
  -DKRAVIX_BENCH=OFF >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
buildTree || { tail -40 "$work/build.log"; echo "run.sh: the unmutated tree does not build"; exit 1; }
buildLimit=300  # a mutant's rebuild, a header's included: about 140 s on a busy machine
t0=$(now)
runTests 600 >/dev/null || {
  # A test that fails once and then passes is flaky: named, and the run goes on.
  flaky=$(failedTests)
  nice -n 10 ctest --test-dir "$build" --rerun-failed >"$work/test.log" 2>&1 || {
    tail -40 "$work/test.log"
    echo "run.sh: the unmutated tree fails its tests; a mutation score would mean nothing"
    exit 1
  }
  echo "Flaky on the unmutated tree (failed once, then passed): $flaky"
}
tests=$(ctest --test-dir "$build" -N -E "$exclude" | sed -n "s/^Total Tests: //p")
[ "$timeout" != 0 ] || timeout=$((3 * ($(now) - t0) + 10))
baseline=$(($(now) - started))
echo "Set-up (copy, full build, $tests tests on the unmutated tree): ${baseline}s"
echo "Time limit for one mutant's tests: ${timeout}s"

mutate=$build/tools/mutate/kravix-mutate
skipArgs=()
[ -z "$skip" ] || skipArgs=(--skip "$skip")
"$mutate" --root "$tree" --seed "$seed" --count "$count" "${skipArgs[@]}" >"$work/mutants.tsv" ||
  exit 1
total=$(wc -l <"$work/mutants.tsv")

# One file after another, so that the next mutant mostly recompiles the same file.
: >"$work/results.tsv"
done=0
awk -F'\t' -v only=",$only," 'only == ",," || index(only, "," $1 ",")' "$work/mutants.tsv" |
  sort -t $'\t' -k2,2 -k1,1n >"$work/order.tsv"
total=$(wc -l <"$work/order.tsv")
while IFS=$'\t' read -r index file line op original mutated; do
  done=$((done + 1))
  mkdir -p "$(dirname "$work/original/$file")"
  cp "$tree/$file" "$work/original/$file"
  "$mutate" --root "$tree" --seed "$seed" --count "$count" "${skipArgs[@]}" --apply "$index" ||
    exit 1
  before=$(sed -n "${line}p" "$work/original/$file" | sed 's/^ *//')
  after=$(sed -n "${line}p" "$tree/$file" | sed 's/^ *//')
  [ -n "$after" ] || after='(deleted)'
  t0=$(now)
  buildTree
  built=$?
  if [ $built -eq 124 ] || [ $built -eq 137 ]; then
    outcome="killed-timeout (the build's programs ran over ${buildLimit} s)"
    t1=$(now)
    t2=$t1
  elif [ $built -ne 0 ]; then
    outcome=$(buildFailure)
    t1=$(now)
    t2=$t1
  else
    t1=$(now)
    timedOut=$(runTests "$timeout")
    status=$?
    t2=$(now)
    if [ $status -eq 0 ]; then outcome=survived
    elif [ -n "$timedOut" ]; then outcome="killed-timeout ($timedOut) $(failedTests)"
    else outcome="killed by $(failedTests)"
    fi
  fi
  cp "$work/original/$file" "$tree/$file"
  printf '[%d/%d] #%s %s:%s %s %s -> %s: %s (build %ss, tests %ss)\n' "$done" "$total" \
    "$index" "$file" "$line" "$op" "$original" "$mutated" "$outcome" \
    $((t1 - t0)) $((t2 - t1))
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$index" "$file" "$line" "$op" "$original" \
    "$mutated" "$outcome" "$before" "$after" >>"$work/results.tsv"
done <"$work/order.tsv"
# Leave the build as the tree is, for a kept work folder.
buildTree

finished=$(now)
bash "$here/report.sh" "$work/results.tsv" "$here/equivalent.txt"
mutantTime=$((finished - started - baseline))
echo "Time: set-up ${baseline}s, mutants ${mutantTime}s ($((mutantTime / (total > 0 ? total : 1)))s each), total $((finished - started))s"
[ "$keep" = 0 ] || echo "Work folder kept: $work"
