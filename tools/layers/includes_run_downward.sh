#!/usr/bin/env bash
# The layer rule of src/: a file includes only from its own folder and the
# folders below it. The order is README.md's "Layers, bottom first:" line,
# so that the README and this check cannot disagree. Prints every include that
# runs upward, or names a folder that is in no layer, as file:line, and fails.
# Usage: includes_run_downward.sh SOURCE_DIR
set -euo pipefail
root=${1:?usage: includes_run_downward.sh SOURCE_DIR}
order=$(sed -n 's/^Layers, bottom first: *//p' "$root/README.md")
if [ -z "$order" ]; then
  echo "$root/README.md: no line \"Layers, bottom first: ...\"" >&2
  exit 1
fi
cd "$root"
grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src |
  awk -v order="$order" '
    BEGIN { n = split(order, names, /[[:space:]]*<[[:space:]]*/); for (i = 1; i <= n; i++) rank[names[i]] = i }
    {
      split($0, place, ":"); file = place[1]; line = place[2]
      split(file, path, "/"); own = path[2]
      match($0, /"[^"]*"/); target = substr($0, RSTART + 1, RLENGTH - 2)
      if (index(target, "/") == 0) next  # a file beside this one
      split(target, parts, "/"); used = parts[1]
      if (!(own in rank)) {
        print file ":" line ": src/" own "/ is in no layer of README.md"; bad = 1
      } else if (!(used in rank)) {
        print file ":" line ": " target " is in no layer of README.md"; bad = 1
      } else if (rank[used] > rank[own]) {
        print file ":" line ": " own "/ includes " target ", a layer above its own"; bad = 1
      }
    }
    END { exit bad }'
