# Shared by the measurements that run the game on a display (startup.sh,
# transitions.sh, profile_startup.sh). Sourced from the script with its own arguments:
#
#   source bench/common.sh "$@"
#
# installs what is missing (Xvfb, openbox, xprop, the X test extension, and
# the fonts a GNOME desktop brings: the Noto set with CJK, since how many
# fonts there are weighs on every program that draws text), builds the
# programs in build/bench (Release), and runs the script again on a display
# of its own, Xvfb with openbox, unless BENCH_DISPLAY names a running one
# (with a window manager). A script that needs more packages names them in
# BENCH_NEEDS before it sources this.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
BUILD="$ROOT/build/bench"
TAVRIX="$BUILD/app/tavrix"
CONTENT="$BUILD/bench/tavrix_content"

if [ -z "${TAVRIX_BENCH_ON_DISPLAY:-}" ]; then
  # shellcheck disable=SC2086 # a list of package names
  install_missing "${PLAY_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" "${BENCH_FONTS[@]}" ${BENCH_NEEDS:-}
  echo "fonts: $(fc-list | wc -l) in fc-list"
  build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTAVRIX_BUILD_BENCH=ON >/dev/null
  if [ -z "${BENCH_DISPLAY:-}" ]; then
    exec bash "$ROOT/tests/display/with_openbox.sh" env TAVRIX_BENCH_ON_DISPLAY=1 \
      bash "$(cd "$(dirname "$0")" && pwd)/$(basename "$0")" "$@"
  fi
  export DISPLAY="$BENCH_DISPLAY"
fi
unset QT_QPA_PLATFORM

# median: the median of the numbers on standard input, one a line
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# ratio A B: the median over the lines of $results of column A / column B
ratio() { printf '%s\n' "${results[@]}" | awk -v a="$1" -v b="$2" '{ printf "%.4f\n", $a / $b }' | median; }
# column A: the median of column A of $results
column() { printf '%s\n' "${results[@]}" | awk -v a="$1" '{ print $a }' | median; }
