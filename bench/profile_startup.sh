#!/usr/bin/env bash
# Instruction counts of the start-up, to the first picture, of Tavrix and the
# two floor programs (bench/startup.sh), under callgrind: each program is
# ended once it has painted its first window and has nothing more to do
# (bench/first_paint_exit.cpp, preloaded). Unlike times, the counts are the
# same from run to run, on a busy machine too.
#
#   bash bench/profile_startup.sh [OUT_DIR]
#
# Prints each program's count (every thread's) and keeps the callgrind files
# in OUT_DIR (build/bench/profile unless told), for callgrind_annotate
# --inclusive=yes. Installs valgrind, builds and starts its display as
# bench/common.sh says.
BENCH_NEEDS=valgrind
source "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"
OUT="${1:-$BUILD/profile}"

mkdir -p "$OUT"
for exe in bench/floor/tavrix_floor bench/floor/tavrix_floor_label app/tavrix; do
  name="${exe##*/}"
  LD_PRELOAD="$BUILD/bench/libtavrix_first_paint_exit.so" \
    valgrind --tool=callgrind --callgrind-out-file="$OUT/$name.callgrind" "$BUILD/$exe" >/dev/null 2>"$OUT/$name.log"
  printf '%-20s %14s instructions\n' "$name" "$(awk '/Collected :/ { print $NF }' "$OUT/$name.log")"
done
