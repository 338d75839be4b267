#!/usr/bin/env bash
# The mutant generator's own check: check_generator.sh KRAVIX_MUTATE SOURCE_DIR
# The same seed lists the same mutants and another seed others; each mutant
# changes one place of one file in a copy of src/; listing leaves the tree as it was.
set -euo pipefail
mutate=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kravix-mutate-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

digest() { (cd "$1" && find src -type f -print0 | sort -z | xargs -0 md5sum); }

digest "$source_dir" >"$work/before"
"$mutate" --root "$source_dir" --seed 7 --count 40 >"$work/first"
"$mutate" --root "$source_dir" --seed 7 --count 40 >"$work/second"
"$mutate" --root "$source_dir" --seed 8 --count 40 >"$work/other"
digest "$source_dir" >"$work/after"
cmp -s "$work/before" "$work/after" || fail "listing changed the tree"
[ "$(wc -l <"$work/first")" -eq 40 ] || fail "asked for 40 mutants, got $(wc -l <"$work/first")"
cmp -s "$work/first" "$work/second" || fail "the same seed gave other mutants"
! cmp -s "$work/first" "$work/other" || fail "another seed gave the same mutants"
for op in compare constant plus-minus delete condition; do
  grep -q $'\t'"$op"$'\t' "$work/first" || fail "no $op mutant among 40"
done

cp -r "$source_dir/src" "$work/src"
cp -r "$work/src" "$work/pristine"
while IFS=$'\t' read -r index file line op original mutated; do
  "$mutate" --root "$work" --seed 7 --count 40 --apply "$index"
  changed=$({ diff -rq "$work/pristine" "$work/src" || true; } | wc -l)
  [ "$changed" -eq 1 ] || fail "mutant $index changed $changed files"
  diff -U0 "$work/pristine/${file#src/}" "$work/$file" >"$work/diff" || true
  hunks=$(grep -c '^@@' "$work/diff" || true)
  [ "$hunks" -eq 1 ] || fail "mutant $index ($file:$line) changed $hunks places"
  start=$(sed -n 's/^@@ -\([0-9]*\).*/\1/p' "$work/diff")
  word=${original%% *}
  [ "$start" = "$line" ] && grep '^-' "$work/diff" | grep -qF -- "${word:0:20}" ||
    fail "mutant $index is not at $file:$line"
  cp "$work/pristine/${file#src/}" "$work/$file"
done <"$work/first"

"$mutate" --root "$work" --count 5 --apply 6 2>/dev/null && fail "mutant 6 of 5 was written"
status=0
"$mutate" --root "$work" --bogus 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "a bad option does not end with status 2"
echo "1 passed, 0 failed"
