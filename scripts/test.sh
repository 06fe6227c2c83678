#!/usr/bin/env bash
# Installs what is missing, then builds and tests with each workflow preset of
# CMakePresets.json:
#   dev      every test, display tests included (build/dev);
#   asan     the same under AddressSanitizer + UndefinedBehaviorSanitizer (build/asan);
#   fuzz     each libFuzzer target as a test, 60 s each (build/fuzz, clang);
#   release  the hardened build the package is made from, its tests (not the
#            display tests) and the .deb (build/release).
# Every stage runs even when an earlier one failed; the script fails if any did.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cd "$ROOT"

started=$SECONDS
failed=()
for preset in dev asan fuzz release; do
  stage_start=$SECONDS
  echo
  echo "=== $preset ($((SECONDS - started)) s)"
  if cmake --workflow --preset "$preset"; then
    echo "=== $preset passed in $((SECONDS - stage_start)) s"
  else
    echo "=== $preset FAILED after $((SECONDS - stage_start)) s"
    failed+=("$preset")
  fi
done

echo
echo "=== Finished ($((SECONDS - started)) s)"
if [ "${#failed[@]}" -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All passed."
