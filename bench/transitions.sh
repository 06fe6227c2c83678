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
# Installs, builds and starts its display as bench/common.sh says.
RUNS="${1:-21}"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"
FLOOR="$BUILD/bench/floor/tavrix_floor_next"

# content EXE KEY...: the milliseconds from the last key's press to the next
# window's content
content() { "$CONTENT" "$@" | awk '{ print $2 }'; }
play() { content "$1" Return; }
wrong() { content "$1" Return 9 9 9 Return; }

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
echo "median paired ratio, Play to the quiz drawn:       tavrix/floor $(ratio 2 1)"
echo "median paired ratio, wrong answer to the box drawn: tavrix/floor $(ratio 4 3)"
echo "median times: Play $(column 1) ms floor, $(column 2) ms tavrix; wrong answer $(column 3) ms floor, $(column 4) ms tavrix"
