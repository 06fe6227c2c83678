#!/usr/bin/env bash
# Builds the .deb with cpack and runs lintian on it with every tag shown
# (info, pedantic and experimental ones too): no error and no warning may
# remain.
#
# usage: lintian.sh BUILD_DIR SOURCE_DIR
# Exits with 77 (skipped) when one of its tools is not installed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/make_deb.sh"

build_dir="$1"
source_dir="$2"
need_tools lintian

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
make_deb "$build_dir" "$source_dir"

status=0
lintian --display-info --display-experimental --pedantic --tag-display-limit 0 \
  "$deb" >"$work/lintian.log" 2>"$work/lintian.err" || status=$?
echo "--- lintian $(lintian --print-version) (exit $status):"
cat "$work/lintian.log"
grep -v 'running with root privileges is not recommended' "$work/lintian.err" >&2 || true
echo "---"

if grep -qE '^[EW]: ' "$work/lintian.log"; then
  fail "lintian reports errors or warnings: $(grep -cE '^[EW]: ' "$work/lintian.log") tag(s)"
fi
[ "$status" -eq 0 ] || fail "lintian exited with status $status"
echo "lintian OK: no errors, no warnings"
