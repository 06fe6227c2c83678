#!/usr/bin/env bash
# Start-up time and memory of Tavrix against the floor program (the least Qt
# Widgets program that shows one window).
#
# For each run: the time from exec to the window manager taking on the
# program's first window (openbox adds it to _NET_CLIENT_LIST when it is
# mapped), the resident memory one second later, and, in a start of its own,
# the time from exec to the window's content on the screen (tavrix_first_content:
# the screen read over the window until it settles). Runs are interleaved and
# paired; the results are the medians of the paired ratios tavrix / floor.
#
#   bash bench/startup.sh [RUNS]
#
# Installs what is missing (Xvfb, openbox, xprop), builds both programs in
# build/bench (Release), and starts its own display unless BENCH_DISPLAY names
# a running one (with a window manager).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
RUNS="${1:-15}"
BUILD="$ROOT/build/bench"
TAVRIX="$BUILD/app/tavrix"
FLOOR="$BUILD/bench/floor/tavrix_floor"
FIRST_CONTENT="$BUILD/bench/tavrix_first_content"

if [ -z "${TAVRIX_BENCH_ON_DISPLAY:-}" ]; then
  install_missing "${PLAY_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
  build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTAVRIX_BUILD_BENCH=ON >/dev/null
  if [ -z "${BENCH_DISPLAY:-}" ]; then
    # The measurement runs on a display of its own: Xvfb with openbox.
    exec bash "$ROOT/tests/display/with_openbox.sh" env TAVRIX_BENCH_ON_DISPLAY=1 bash "${BASH_SOURCE[0]}" "$@"
  fi
  export DISPLAY="$BENCH_DISPLAY"
fi
unset QT_QPA_PLATFORM

# measure EXE: prints "<milliseconds to first window> <VmRSS kB one second later>"
measure() {
  local exe="$1" before line t0 t1 pid spy rss
  exec 3< <(exec xprop -spy -root _NET_CLIENT_LIST 2>/dev/null)
  spy=$!
  read -r -t 10 -u 3 before || before=""
  t0=$EPOCHREALTIME
  "$exe" >/dev/null 2>&1 &
  pid=$!
  while read -r -t 20 -u 3 line; do
    [ "$line" != "$before" ] && break
  done
  t1=$EPOCHREALTIME
  sleep 1
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  kill "$spy" 2>/dev/null; exec 3<&-
  awk -v a="$t0" -v b="$t1" -v r="$rss" 'BEGIN { printf "%.1f %d\n", (b - a) * 1000, r }'
}

# content EXE: prints the milliseconds from exec to the first window's content
content() { "$FIRST_CONTENT" "$1" | awk '{ print $2 }'; }

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure "$FLOOR" >/dev/null; measure "$TAVRIX" >/dev/null   # warm the caches
printf '%4s %10s %10s %10s %10s %12s %12s\n' run floor_ms tavrix_ms floor_kB tavrix_kB floor_cont_ms tavrix_cont_ms
results=()
for i in $(seq "$RUNS"); do
  if (( i % 2 )); then
    f=$(measure "$FLOOR"); t=$(measure "$TAVRIX"); fc=$(content "$FLOOR"); tc=$(content "$TAVRIX")
  else
    t=$(measure "$TAVRIX"); f=$(measure "$FLOOR"); tc=$(content "$TAVRIX"); fc=$(content "$FLOOR")
  fi
  read -r fms fkb <<<"$f"; read -r tms tkb <<<"$t"
  printf '%4d %10s %10s %10s %10s %12s %12s\n' "$i" "$fms" "$tms" "$fkb" "$tkb" "$fc" "$tc"
  results+=("$fms $tms $fkb $tkb $fc $tc")
done
time_ratio=$(printf '%s\n' "${results[@]}" | awk '{ printf "%.4f\n", $2 / $1 }' | median)
mem_ratio=$(printf '%s\n' "${results[@]}" | awk '{ printf "%.4f\n", $4 / $3 }' | median)
content_ratio=$(printf '%s\n' "${results[@]}" | awk '{ printf "%.4f\n", $6 / $5 }' | median)
echo "median paired ratio, start-up time: $time_ratio"
echo "median paired ratio, resident memory: $mem_ratio"
echo "median paired ratio, time to content on screen: $content_ratio"
echo "median time to content on screen: floor $(printf '%s\n' "${results[@]}" | awk '{ print $5 }' | median) ms," \
  "tavrix $(printf '%s\n' "${results[@]}" | awk '{ print $6 }' | median) ms"
