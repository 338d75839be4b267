#!/usr/bin/env bash
# The score of a mutation run: report.sh RESULTS.tsv [EQUIVALENT.txt]
# RESULTS.tsv has a line per mutant: index, file, line, operator, original,
# mutated, outcome (killed, killed-timeout, survived, stillborn), the line before
# and after. EQUIVALENT.txt lists survivors judged equivalent, one a line:
#   FILE:LINE | ORIGINAL -> MUTATED | why
set -euo pipefail
results=$1
equivalent=${2:-/dev/null}
[ -e "$equivalent" ] || equivalent=/dev/null

awk -F'\t' '
  FILENAME == ARGV[1] {
    if ($0 ~ /^[ \t]*(#|$)/) next
    n = split($0, part, / \| /)
    if (n < 3) next
    key = part[1] " | " part[2]
    reason[key] = part[3]
    for (i = 4; i <= n; ++i) reason[key] = reason[key] " | " part[i]
    next
  }
  {
    outcome = $7
    if (outcome ~ /^killed/) killed++
    if (outcome ~ /^killed-timeout/) timeouts++
    if (outcome == "stillborn") stillborn++
    if (outcome != "survived") next
    survived++
    key = $2 ":" $3 " | " $5 " -> " $6
    line = "  " key
    if (key in reason) {
      equivalents++
      line = line "\n      equivalent: " reason[key]
    }
    survivors[survived] = line "\n      was: " $8 "\n      now: " $9
  }
  function rate(part, whole) {
    return whole > 0 ? sprintf("%d/%d = %.1f %%", part, whole, 100 * part / whole) : "none"
  }
  END {
    printf "Killed %d (%d by timeout), survived %d, stillborn %d (not scored)\n",
           killed, timeouts, survived, stillborn
    printf "Kill rate: %s\n", rate(killed, killed + survived)
    printf "Survivors judged equivalent: %d; kill rate over the rest: %s\n",
           equivalents, rate(killed, killed + survived - equivalents)
    if (survived) print "Survivors (FILE:LINE | ORIGINAL -> MUTATED):"
    for (i = 1; i <= survived; ++i) print survivors[i]
  }
' "$equivalent" "$results"
