#!/usr/bin/env bash
# The time from a key press to the next window's content on screen, in Tavrix
# and in the least Qt program that does the same (bench/floor/floor_next.cpp):
#   play   Enter on the start screen's Play button, to the quiz screen drawn;
#          in the floor, Enter in its first window, to its second window drawn;
#   wrong  then a wrong answer (999: no EASY question has it) and Enter, to
#          the message box drawn; in the floor, the same keys in the second
#          window's answer box, to its message box drawn.
# Each time is taken with tavrix_content (bench/content.cpp): the screen read
# over the new window until the picture settles, from the key's press, sent
# with the X test extension. Runs are interleaved and paired, the order
# turning from run to run; the results are the medians of the paired ratios
# tavrix / floor.
#
#   bash bench/transitions.sh [RUNS]
#
# Installs, builds and starts its display as bench/startup.sh does, with the
# same fonts.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
RUNS="${1:-15}"
BUILD="$ROOT/build/bench"
TAVRIX="$BUILD/app/tavrix"
FLOOR="$BUILD/bench/floor/tavrix_floor_next"
CONTENT="$BUILD/bench/tavrix_content"

if [ -z "${TAVRIX_BENCH_ON_DISPLAY:-}" ]; then
  install_missing "${PLAY_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" "${BENCH_FONTS[@]}"
  echo "fonts: $(fc-list | wc -l) in fc-list"
  build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTAVRIX_BUILD_BENCH=ON >/dev/null
  if [ -z "${BENCH_DISPLAY:-}" ]; then
    exec bash "$ROOT/tests/display/with_openbox.sh" env TAVRIX_BENCH_ON_DISPLAY=1 bash "${BASH_SOURCE[0]}" "$@"
  fi
  export DISPLAY="$BENCH_DISPLAY"
fi
unset QT_QPA_PLATFORM

# content EXE KEY...: the milliseconds from the last key's press to the next
# window's content
content() { "$CONTENT" "$@" | awk '{ print $2 }'; }
play() { content "$1" Return; }
wrong() { content "$1" Return 9 9 9 Return; }

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

play "$FLOOR" >/dev/null; play "$TAVRIX" >/dev/null   # warm the caches
printf '%4s %12s %12s %12s %12s\n' run floor_play tavrix_play floor_wrong tavrix_wrong
results=()
for i in $(seq "$RUNS"); do
  if (( i % 2 )); then
    fp=$(play "$FLOOR"); tp=$(play "$TAVRIX"); fw=$(wrong "$FLOOR"); tw=$(wrong "$TAVRIX")
  else
    tp=$(play "$TAVRIX"); fp=$(play "$FLOOR"); tw=$(wrong "$TAVRIX"); fw=$(wrong "$FLOOR")
  fi
  printf '%4d %12s %12s %12s %12s\n' "$i" "$fp" "$tp" "$fw" "$tw"
  results+=("$fp $tp $fw $tw")
done
ratio() { printf '%s\n' "${results[@]}" | awk -v a="$1" -v b="$2" '{ printf "%.4f\n", $a / $b }' | median; }
column() { printf '%s\n' "${results[@]}" | awk -v a="$1" '{ print $a }' | median; }
echo "median paired ratio, Play to the quiz drawn:       tavrix/floor $(ratio 2 1)"
echo "median paired ratio, wrong answer to the box drawn: tavrix/floor $(ratio 4 3)"
echo "median times: Play $(column 1) ms floor, $(column 2) ms tavrix; wrong answer $(column 3) ms floor, $(column 4) ms tavrix"
