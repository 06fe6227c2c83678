#!/usr/bin/env bash
# Start-up time and memory of Tavrix against two floor programs: the least Qt
# Widgets program that shows one window (bench/floor/floor.cpp, which draws no
# text and so never loads a font), and the least one that shows a label with
# text in a window of the start screen's size (floor_label.cpp, which pays for
# the font database as every program that shows words does).
#
# For each run: the time from exec to the window manager taking on the
# program's first window (openbox adds it to _NET_CLIENT_LIST when it is
# mapped), the resident memory one second later, and, in a start of its own,
# the time from exec to the window's content on the screen (tavrix_content:
# the screen read over the window until it settles). Runs are interleaved and
# paired, the order turning from run to run; the results are the medians of
# the paired ratios tavrix / label floor and tavrix / empty floor.
#
#   bash bench/startup.sh [RUNS]
#
# Installs, builds and starts its display as bench/common.sh says.
RUNS="${1:-21}"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"
FLOOR="$BUILD/bench/floor/tavrix_floor"
LABEL="$BUILD/bench/floor/tavrix_floor_label"

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
content() { "$CONTENT" "$1" | awk '{ print $2 }'; }

measure "$FLOOR" >/dev/null; measure "$LABEL" >/dev/null; measure "$TAVRIX" >/dev/null   # warm the caches
printf '%4s %9s %9s %9s %9s %9s %9s %10s %10s %10s\n' run empty_ms label_ms tavrix_ms empty_kB label_kB tavrix_kB \
  empty_cont label_cont tavrix_cont
declare -A m c
results=()
for i in $(seq "$RUNS"); do
  # Each of the three goes first, second and third in turn.
  case $(( i % 3 )) in
    1) order=(FLOOR LABEL TAVRIX) ;;
    2) order=(LABEL TAVRIX FLOOR) ;;
    0) order=(TAVRIX FLOOR LABEL) ;;
  esac
  for p in "${order[@]}"; do m[$p]=$(measure "${!p}"); done
  for p in "${order[@]}"; do c[$p]=$(content "${!p}"); done
  read -r fms fkb <<<"${m[FLOOR]}"; read -r lms lkb <<<"${m[LABEL]}"; read -r tms tkb <<<"${m[TAVRIX]}"
  printf '%4d %9s %9s %9s %9s %9s %9s %10s %10s %10s\n' "$i" "$fms" "$lms" "$tms" "$fkb" "$lkb" "$tkb" \
    "${c[FLOOR]}" "${c[LABEL]}" "${c[TAVRIX]}"
  results+=("$fms $lms $tms $fkb $lkb $tkb ${c[FLOOR]} ${c[LABEL]} ${c[TAVRIX]}")
done
echo "median paired ratio, start-up time:             tavrix/label $(ratio 3 2)  tavrix/empty $(ratio 3 1)"
echo "median paired ratio, resident memory:           tavrix/label $(ratio 6 5)  tavrix/empty $(ratio 6 4)"
echo "median paired ratio, time to content on screen: tavrix/label $(ratio 9 8)  tavrix/empty $(ratio 9 7)"
echo "median time to content on screen: empty floor $(column 7) ms, label floor $(column 8) ms, tavrix $(column 9) ms"
echo "median resident memory: empty floor $(column 4) kB, label floor $(column 5) kB, tavrix $(column 6) kB"
