#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   1. the test suite of the normal build (build/test);
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build/asan);
#   3. each libFuzzer target for a bounded time (build/fuzz, clang).
# Every stage runs even when an earlier one failed; the script fails if any did.
#
# FUZZ_SECONDS sets the time of each fuzzer (default 60).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen

FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
started=$SECONDS
failed=()

stage() { echo; echo "=== $* ($((SECONDS - started)) s)"; }

# configure_and_build DIR [cmake options...]: stops at a failed configure.
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j "$JOBS"
}

# --- 1. Normal build --------------------------------------------------------
stage "Tests"
if ! { configure_and_build "$ROOT/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       ctest --test-dir "$ROOT/build/test" --output-on-failure -j "$JOBS"; }; then
  failed+=("tests")
fi

# --- 2. Sanitizer build -----------------------------------------------------
# Any report ends the process with an error and a stack trace.
export ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

stage "Tests with AddressSanitizer and UndefinedBehaviorSanitizer"
if ! { configure_and_build "$ROOT/build/asan" -DCMAKE_BUILD_TYPE=Debug -DTAVRIX_SANITIZE=ON -DTAVRIX_BUILD_BENCH=OFF &&
       ctest --test-dir "$ROOT/build/asan" --output-on-failure -j "$JOBS"; }; then
  failed+=("sanitizer tests")
fi

# --- 3. Fuzzers ---------------------------------------------------------------
fuzz_dir="$ROOT/build/fuzz"
artifacts="$fuzz_dir/artifacts"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Long texts for ReadNumber, which must read them in linear time.
long_seeds() {
  local dir="$1"
  yes ' 9' | head -c 100000 >"$dir/long_blanks_digits"
  { printf '0.'; head -c 99990 /dev/zero | tr '\0' '0'; printf '1e5'; } >"$dir/long_zeros"
  { printf '&H'; head -c 99998 /dev/zero | tr '\0' 'F'; } >"$dir/long_hex"
  { printf '1e'; head -c 99998 /dev/zero | tr '\0' '9'; } >"$dir/long_exponent"
}

# run_fuzzer NAME [libFuzzer options...]
run_fuzzer() {
  local name="$1"; shift
  local corpus="$work/$name" log="$work/$name.log"
  cp -r "$ROOT/fuzz/corpus/$name" "$corpus"
  [ "$name" = fuzz_read_number ] && long_seeds "$corpus"
  mkdir -p "$artifacts"
  echo "--- $name: ${FUZZ_SECONDS} s from $(ls "$corpus" | wc -l) seeds"
  local status=0
  (cd "$work" && "$fuzz_dir/fuzz/$name" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$@" "$corpus") >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+INITED' "$log" || true
  grep -E '^Done [0-9]+ runs' "$log" || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
  if [ "$status" -ne 0 ] || ! grep -qE '^Done [0-9]+ runs' "$log"; then
    echo "!!! $name failed (exit $status):"
    grep -v '^"' "$log" | tail -n 80
    local input
    for input in "$artifacts/$name-"*; do
      [ -f "$input" ] && echo "!!! input kept as $input; rerun: $fuzz_dir/fuzz/$name $input"
    done
    return 1
  fi
}

stage "Fuzzers, ${FUZZ_SECONDS} s each"
rm -rf "$artifacts"
if configure_and_build "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTAVRIX_BUILD_FUZZ=ON \
     -DTAVRIX_BUILD_SCREENS=OFF -DTAVRIX_BUILD_TESTS=OFF -DTAVRIX_BUILD_BENCH=OFF; then
  run_fuzzer fuzz_read_number -max_len=100000 || failed+=("fuzz_read_number")
  run_fuzzer fuzz_engine || failed+=("fuzz_engine")
else
  failed+=("fuzzer build")
fi

stage "Finished"
if [ "${#failed[@]}" -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All passed."
