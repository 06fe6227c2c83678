#!/usr/bin/env bash
# Fails when a C++ file that git tracks is not in the layout .clang-format
# declares, naming each such file and the first lines clang-format would
# change. Exits 77 (skipped) without clang-format or outside a git checkout.
#
#   check_format.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
command -v clang-format >/dev/null || { echo "skipped: clang-format is not installed"; exit 77; }
files=$(git ls-files -- '*.cpp' '*.h' 2>/dev/null) || { echo "skipped: not a git checkout"; exit 77; }
[ -n "$files" ] || { echo "skipped: no C++ files tracked"; exit 77; }
diffs="$(mktemp)"
trap 'rm -f "$diffs"' EXIT
bad=0
while read -r f; do
  if ! diff -u "$f" <(clang-format --style=file "$f") >"$diffs"; then
    echo "not formatted: $f ($(clang-format --version | head -n 1))"
    head -n 20 "$diffs"
    bad=$((bad + 1))
  fi
done <<<"$files"
echo "$bad file(s) not formatted; clang-format -i FILE formats one"
[ "$bad" -eq 0 ]
